#pragma once
// A scripted host for the transfer controller: a port with an input queue, a timer on a
// hand-driven clock, and a record of what the window would show.
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "serial/transfer_controller.h"
#include "serial/transfer_host.h"

namespace theolink::test {

class FakeTransferHost : public TransferHost {
 public:
  // Port
  bool failOpen = false;
  bool failWrite = false;
  int writeLimit = -1;  // when not negative, a write takes at most this many bytes
  bool connected = false;
  int openCalls = 0;
  int closeCalls = 0;
  std::string input;    // bytes waiting in the port
  std::string written;  // everything written
  std::vector<std::string> writes;
  std::vector<int> readCounts;

  // Timer
  bool timerEnabled = false;
  int timerInterval = 0;
  long timerStartedAt = 0;
  long now = 0;

  // Display
  TextId status = TextId::Title;  // panel 0; Title stands for "never set"
  std::vector<TextId> statusHistory;
  std::pair<TextId, int> counter{TextId::TotalPrefix, 0};
  std::vector<int> counterHistory;
  std::map<TransferControl, bool> controls;
  std::vector<TextId> messages;
  std::vector<SendCut> cuts;
  int refreshes = 0;

  void OpenPort() override {
    ++openCalls;
    if (failOpen) throw std::runtime_error("Unable to open com port (Error: 2)");
    connected = true;
  }
  void ClosePort() override {
    ++closeCalls;
    connected = false;
  }
  bool PortConnected() const override { return connected; }
  std::string ReadPort(int count) override {
    readCounts.push_back(count);
    const std::size_t n = std::min(input.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::string out = input.substr(0, n);
    input.erase(0, n);
    return out;
  }
  int WritePort(const std::string& text) override {
    if (failWrite) throw std::runtime_error("WriteFile function failed (Error: 5)");
    const std::string taken = writeLimit < 0 ? text : text.substr(0, static_cast<std::size_t>(writeLimit));
    written += taken;
    writes.push_back(taken);
    return static_cast<int>(taken.size());
  }
  void StartTimer(int interval_ms) override {
    timerEnabled = true;
    timerInterval = interval_ms;
    timerStartedAt = now;
  }
  void StopTimer() override { timerEnabled = false; }
  void ShowStatus(TextId message) override {
    status = message;
    statusHistory.push_back(message);
  }
  void ShowCounter(TextId prefix, int value) override {
    counter = {prefix, value};
    counterHistory.push_back(value);
  }
  void EnableControl(TransferControl control, bool enabled) override { controls[control] = enabled; }
  void ShowMessage(TextId message) override { messages.push_back(message); }
  void ShowSendCut(const SendCut& cut) override { cuts.push_back(cut); }
  void RefreshViews() override { ++refreshes; }

  bool Enabled(TransferControl c) const { return controls.at(c); }
  bool Touched(TransferControl c) const { return controls.count(c) != 0; }
};

// Drives a controller with a fake host: bytes arrive, time passes.
struct TransferRig {
  FakeTransferHost host;
  WorkingData data;
  TransferController controller{host, data};

  // The bytes arrive as one event.
  void Arrive(const std::string& bytes) {
    host.input += bytes;
    controller.ComPort1RxChar(static_cast<int>(host.input.size()));
  }
  // Time passes in 1 ms steps; the timer fires on the UI thread when it is due.
  void Elapse(long ms) {
    for (long i = 0; i < ms; ++i) {
      ++host.now;
      if (host.timerEnabled && host.now - host.timerStartedAt >= host.timerInterval) controller.Timer1Timer();
    }
  }
};

}  // namespace theolink::test
