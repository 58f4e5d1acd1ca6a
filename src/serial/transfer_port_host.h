#pragma once
// A transfer host over a real port for programs without a window toolkit: the owning thread
// pumps a QueueDispatcher (the port's hand-off lands there) and keeps Timer1 as a deadline.
// What the window would show goes to a TransferDisplay.
#include <chrono>
#include <optional>
#include <string>

#include "serial/com_port.h"
#include "serial/transfer_controller.h"
#include "serial/transfer_host.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

class TransferDisplay {
 public:
  virtual ~TransferDisplay() = default;
  virtual void ShowStatus(TextId message) = 0;
  virtual void ShowCounter(TextId prefix, int value) = 0;
  virtual void ShowMessage(TextId message) = 0;
};

// Sets the line as the window's port has it: 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS held off, events handed to dispatcher on its owning thread.
void SetUpTransferPort(TComPort& port, const std::string& name, TBaudRate rate, std::int32_t customRate,
                       QueueDispatcher& dispatcher);

// The baud setting for a rate in bits per second: a listed rate, or brCustom.
TBaudRate BaudRateFor(std::int32_t rate);

class PortTransferHost final : public TransferHost {
 public:
  enum class RunEnd {
    Finished,   // the end-of-transfer timer ended it
    Stopped,    // RequestStop
    HungUp,     // the other end went away while the transfer ran
    PortError,  // reading or writing raised; PortErrorText says what
  };

  PortTransferHost(TComPort& port, QueueDispatcher& dispatcher, TransferDisplay& display);

  // Sends the port's character and error events to controller; call before starting.
  void Bind(TransferController& controller);
  // Pumps the dispatcher and the timer until the started transfer has ended.
  RunEnd RunUntilFinished();
  // Stops the transfer as the Stop button would; callable from any thread.
  void RequestStop();
  const std::string& PortErrorText() const { return portError_; }
  // The message of the last failed OpenPort.
  const std::string& OpenErrorText() const { return openError_; }

  void OpenPort() override;
  void ClosePort() override;
  bool PortConnected() const override;
  std::string ReadPort(int count) override;
  void WritePort(const std::string& text) override;
  void StartTimer(int interval_ms) override;
  void StopTimer() override;
  void ShowStatus(TextId message) override { display_.ShowStatus(message); }
  void ShowCounter(TextId prefix, int value) override { display_.ShowCounter(prefix, value); }
  void EnableControl(TransferControl, bool) override {}
  void ShowMessage(TextId message) override { display_.ShowMessage(message); }
  void RefreshViews() override {}

 private:
  using Clock = std::chrono::steady_clock;

  TComPort& port_;
  QueueDispatcher& dispatcher_;
  TransferDisplay& display_;
  TransferController* controller_ = nullptr;
  std::optional<Clock::time_point> deadline_;
  bool hungUp_ = false;
  bool stopRequested_ = false;
  std::string portError_;
  std::string openError_;
};

}  // namespace theolink
