#include "window/window_transfer_host.h"

#include <exception>

namespace theolink {

void SetUpWindowPort(TComPort& port, UiDispatcher& dispatcher) {
  port.BeginUpdate();
  port.SetPort("COM3");
  port.SetBaudRate(br115200);
  port.SetDataBits(dbEight);
  port.SetStopBits(sbOneStopBit);
  port.Parity().SetBits(prNone);
  port.FlowControl().SetFlowControl(fcNone);
  port.FlowControl().SetOutDSRFlow(false);
  port.FlowControl().SetControlDTR(dtrDisable);
  port.FlowControl().SetControlRTS(rtsDisable);
  port.SetSyncMethod(smThreadSync);
  port.SetDispatcher(&dispatcher);
  port.EndUpdate();
}

WindowTransferHost::WindowTransferHost(TComPort& port, TransferView& view, QObject* parent)
    : QObject(parent), port_(port), view_(view) {
  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setInterval(500);
}

void WindowTransferHost::Bind(TransferController& controller) {
  controller_ = &controller;
  QObject::connect(&timer1_, &QTimer::timeout, this, [this] { controller_->Timer1Timer(); });
  // Runs on the window's thread inside the event thread's hand-off.
  port_.OnRxChar = [this](TCustomComPort&, int count) {
    try {
      controller_->ComPort1RxChar(count);
    } catch (const std::exception& e) {
      const std::string text = e.what();
      QMetaObject::invokeMethod(this, [this, text] { view_.ShowPortError(text); }, Qt::QueuedConnection);
    }
  };
  // The instrument went away (cable pulled, adapter gone): a running transfer stops as
  // the Stop button would, after the hand-off has returned.
  port_.OnError = [this](TCustomComPort&, TComErrors errors) {
    if (!errors.Contains(ceIO)) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (controller_->TransferState() != TransferIdle) controller_->StopBtnClick();
        },
        Qt::QueuedConnection);
  };
}

void WindowTransferHost::OpenPort() { port_.Open(); }

void WindowTransferHost::ClosePort() {
  try {
    port_.Close();
  } catch (const std::exception& e) {
    view_.ShowPortError(e.what());
  }
}

bool WindowTransferHost::PortConnected() const { return port_.Connected(); }

std::string WindowTransferHost::ReadPort(int count) {
  std::string bytes;
  port_.ReadStr(bytes, count);
  return bytes;
}

void WindowTransferHost::WritePort(const std::string& text) { port_.WriteStr(text); }

void WindowTransferHost::StartTimer(int interval_ms) {
  timer1_.start(interval_ms);
}

void WindowTransferHost::StopTimer() { timer1_.stop(); }

}  // namespace theolink
