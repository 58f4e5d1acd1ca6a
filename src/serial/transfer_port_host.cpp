#include "serial/transfer_port_host.h"

namespace theolink {

namespace {

std::string MessageOf(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "unknown error";
}

// A device that has hung up reports ceIO; asking must not raise in turn.
bool HungUp(TComPort& port) {
  try {
    return port.Connected() && port.LastErrors().Contains(ceIO);
  } catch (...) {
    return false;
  }
}

}  // namespace

void SetUpTransferPort(TComPort& port, const std::string& name, TBaudRate rate, std::int32_t customRate,
                       UiDispatcher& dispatcher) {
  port.BeginUpdate();
  port.SetPort(name);
  port.SetBaudRate(rate);
  port.SetCustomBaudRate(customRate);
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

PortTransferHost::PortTransferHost(TComPort& port, TransferTimer& timer, TransferView& view)
    : port_(port), timer_(timer), view_(view) {}

void PortTransferHost::Bind(TransferController& controller) {
  controller_ = &controller;
  port_.OnRxChar = [this](TCustomComPort&, int count) { controller_->OnBytesArrived(count); };
  port_.OnError = [this](TCustomComPort&, TComErrors errors) {
    if (errors.Contains(ceIO)) LinkDropped();
  };
  // A failed read or write has ended the port's event reporting; the transfer ends with it.
  port_.OnException = [this](TCustomComPort&, std::exception_ptr error) { PortFailed(error); };
}

void PortTransferHost::LinkDropped() {
  // The hang-up is reported before the bytes of the same wake-up: take them first.
  try {
    const int waiting = port_.InputCount();
    if (waiting > 0) controller_->OnBytesArrived(waiting);
  } catch (...) {
    // What the device no longer gives is lost to every reader alike.
  }
  controller_->OnLinkDropped();
}

void PortTransferHost::PortFailed(std::exception_ptr error) {
  if (opening_) {
    if (portError_.empty()) portError_ = MessageOf(error);
    return;
  }
  if (HungUp(port_)) {
    LinkDropped();
    return;
  }
  if (portError_.empty()) portError_ = MessageOf(error);
  if (controller_->TransferState() != TransferIdle) {
    controller_->Stop();
  } else if (port_.Connected()) {
    // Failed after the last request of a send was answered: the normal end, only sooner.
    controller_->OnTransferTimer();
  }
}

void PortTransferHost::OpenPort() {
  portError_.clear();
  openError_.clear();
  openErrorCode_ = -1;
  opening_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{opening_};
  try {
    port_.Open();
  } catch (const EComPort& e) {
    openError_ = e.what();
    openErrorCode_ = e.OsErrorCode();
    throw;
  } catch (const std::exception& e) {
    openError_ = e.what();
    throw;
  }
}

void PortTransferHost::ClosePort() {
  try {
    port_.Close();
  } catch (const std::exception& e) {
    if (portError_.empty()) portError_ = e.what();
  }
}

bool PortTransferHost::PortConnected() const { return port_.Connected(); }

std::string PortTransferHost::ReadPort(int count) {
  std::string bytes;
  port_.ReadStr(bytes, count);
  return bytes;
}

int PortTransferHost::WritePort(const std::string& text) { return port_.WriteStr(text); }

}  // namespace theolink
