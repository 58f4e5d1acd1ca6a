#include "serial/transfer_port_host.h"

#include <algorithm>
#include <utility>

namespace theolink {

namespace {

constexpr std::pair<std::int32_t, TBaudRate> kListedRates[] = {
    {110, br110},       {300, br300},       {600, br600},       {1200, br1200},     {2400, br2400},
    {4800, br4800},     {9600, br9600},     {14400, br14400},   {19200, br19200},   {38400, br38400},
    {56000, br56000},   {57600, br57600},   {115200, br115200}, {128000, br128000}, {256000, br256000},
};

}  // namespace

TBaudRate BaudRateFor(std::int32_t rate) {
  for (const auto& [bps, setting] : kListedRates)
    if (bps == rate) return setting;
  return brCustom;
}

void SetUpTransferPort(TComPort& port, const std::string& name, TBaudRate rate, std::int32_t customRate,
                       QueueDispatcher& dispatcher) {
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

PortTransferHost::PortTransferHost(TComPort& port, QueueDispatcher& dispatcher, TransferDisplay& display)
    : port_(port), dispatcher_(dispatcher), display_(display) {}

void PortTransferHost::Bind(TransferController& controller) {
  controller_ = &controller;
  // A failing read or write must not end the event thread silently: it ends the transfer
  // with the port's own message.
  port_.OnRxChar = [this](TCustomComPort&, int count) {
    if (!portError_.empty()) return;
    try {
      controller_->ComPort1RxChar(count);
    } catch (const std::exception& e) {
      portError_ = e.what();
    }
  };
  port_.OnError = [this](TCustomComPort&, TComErrors errors) {
    if (errors.Contains(ceIO)) hungUp_ = true;
  };
}

PortTransferHost::RunEnd PortTransferHost::RunUntilFinished() {
  for (;;) {
    if (controller_->TransferState() == TransferIdle && !deadline_) {
      return stopRequested_ ? RunEnd::Stopped : RunEnd::Finished;
    }
    auto wait = std::chrono::milliseconds(100);
    if (deadline_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
      wait = std::clamp(left, std::chrono::milliseconds(0), wait);
    }
    dispatcher_.WaitAndProcess(wait);
    if (stopRequested_) {
      controller_->StopBtnClick();
      return RunEnd::Stopped;
    }
    if (!portError_.empty() || hungUp_) {
      const bool wasRunning = controller_->TransferState() != TransferIdle;
      if (wasRunning) {
        controller_->StopBtnClick();
      } else {
        // Gone after its last request was answered: that is the normal end, just early.
        deadline_.reset();
        controller_->Timer1Timer();
      }
      if (!portError_.empty()) return RunEnd::PortError;
      return wasRunning ? RunEnd::HungUp : RunEnd::Finished;
    }
    if (deadline_ && Clock::now() >= *deadline_) {
      deadline_.reset();
      controller_->Timer1Timer();
    }
  }
}

void PortTransferHost::RequestStop() {
  dispatcher_.Post([this] { stopRequested_ = true; });
  dispatcher_.Wake();
}

void PortTransferHost::OpenPort() {
  hungUp_ = false;
  portError_.clear();
  openError_.clear();
  try {
    port_.Open();
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

void PortTransferHost::WritePort(const std::string& text) { port_.WriteStr(text); }

void PortTransferHost::StartTimer(int interval_ms) {
  deadline_ = Clock::now() + std::chrono::milliseconds(interval_ms);
}

void PortTransferHost::StopTimer() { deadline_.reset(); }

}  // namespace theolink
