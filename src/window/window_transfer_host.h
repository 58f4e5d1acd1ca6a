#pragma once
// The window's transfer host: ComPort1 with its events handed to the window's thread,
// Timer1 as a Qt timer, and what a transfer shows going to the window.
#include <QObject>
#include <QTimer>
#include <string>

#include "serial/com_port.h"
#include "serial/transfer_controller.h"
#include "serial/transfer_host.h"
#include "window/qt_dispatcher.h"

namespace theolink {

// What a transfer shows: the main window implements it.
class TransferView {
 public:
  virtual ~TransferView() = default;
  virtual void ShowStatus(TextId message) = 0;
  virtual void ShowCounter(TextId prefix, int value) = 0;
  virtual void EnableControl(TransferControl control, bool enabled) = 0;
  virtual void ShowMessage(TextId message) = 0;
  virtual void RefreshViews() = 0;
  // An error raised while the port was read or written.
  virtual void ShowPortError(const std::string& text) = 0;
};

// Sets ComPort1 as the window has it: 115200 baud, 8 data bits, no parity, 1 stop bit, no
// flow control, DTR and RTS held off, events handed to the dispatcher's thread.
void SetUpWindowPort(TComPort& port, UiDispatcher& dispatcher);

class WindowTransferHost final : public QObject, public TransferHost {
 public:
  WindowTransferHost(TComPort& port, TransferView& view, QObject* parent = nullptr);

  // Routes the port's events and Timer1 to the controller.
  void Bind(TransferController& controller);
  QTimer& Timer1() { return timer1_; }

  void OpenPort() override;
  void ClosePort() override;
  bool PortConnected() const override;
  std::string ReadPort(int count) override;
  void WritePort(const std::string& text) override;
  void StartTimer(int interval_ms) override;
  void StopTimer() override;
  void ShowStatus(TextId message) override { view_.ShowStatus(message); }
  void ShowCounter(TextId prefix, int value) override { view_.ShowCounter(prefix, value); }
  void EnableControl(TransferControl control, bool enabled) override { view_.EnableControl(control, enabled); }
  void ShowMessage(TextId message) override { view_.ShowMessage(message); }
  void RefreshViews() override { view_.RefreshViews(); }

 private:
  TComPort& port_;
  TransferView& view_;
  TransferController* controller_ = nullptr;
  QTimer timer1_;
};

}  // namespace theolink
