#pragma once
// The port part of a transfer, written once for the window and the command line: the port
// set up as the window's, the hand-off of its events to the controller, a handler's error
// captured and turned into the end of the transfer, and a hang-up ending it. What the user
// sees goes to a TransferView, the timer is the caller's, and the port's events arrive
// through whatever UiDispatcher the caller set.
#include <cstdint>
#include <string>

#include "serial/com_port.h"
#include "serial/transfer_controller.h"
#include "serial/transfer_host.h"
#include "serial/transfer_timer.h"
#include "serial/transfer_view.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

// Sets the line as the window's port has it: 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS held off, events handed to dispatcher on its owning thread.
void SetUpTransferPort(TComPort& port, const std::string& name, TBaudRate rate, std::int32_t customRate,
                       UiDispatcher& dispatcher);

class PortTransferHost final : public TransferHost {
 public:
  PortTransferHost(TComPort& port, TransferTimer& timer, TransferView& view);

  // Sends the port's character, error and exception events to controller; call before
  // starting a transfer.
  void Bind(TransferController& controller);

  // Why reading or writing failed during the last transfer; empty when nothing failed.
  const std::string& PortErrorText() const { return portError_; }
  // The message of the last failed OpenPort, and the system's code (-1 without one).
  const std::string& OpenErrorText() const { return openError_; }
  int OpenErrorCode() const { return openErrorCode_; }

  void OpenPort() override;
  void ClosePort() override;
  bool PortConnected() const override;
  std::string ReadPort(int count) override;
  int WritePort(const std::string& text) override;
  void StartTimer(int interval_ms) override { timer_.Start(interval_ms); }
  void StopTimer() override { timer_.Stop(); }
  void ShowStatus(TextId message) override { view_.ShowStatus(message); }
  void ShowCounter(TextId prefix, int value) override { view_.ShowCounter(prefix, value); }
  void EnableControl(TransferControl control, bool enabled) override { view_.EnableControl(control, enabled); }
  void ShowMessage(TextId message) override { view_.ShowMessage(message); }
  void ShowSendCut(const SendCut& cut) override { view_.ShowSendCut(cut); }
  void RefreshViews() override { view_.RefreshViews(); }

 private:
  void LinkDropped();
  void PortFailed(std::exception_ptr error);

  TComPort& port_;
  TransferTimer& timer_;
  TransferView& view_;
  TransferController* controller_ = nullptr;
  std::string portError_;
  std::string openError_;
  int openErrorCode_ = -1;
  bool opening_ = false;  // an error reported from inside Open belongs to the start, not the transfer
};

}  // namespace theolink
