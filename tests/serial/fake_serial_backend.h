#pragma once
// A serial service that records what the port asks of it and fails on request, for the
// rules that a real device cannot be made to break.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "serial/serial_backend.h"

namespace theolink::test {

struct FakeDeviceLog {
  std::vector<std::string> calls;  // operation names, in order
  LineSettings line;               // last line settings applied
  DeviceTimeouts timeouts;         // last time-outs applied
  int input_size = -1, output_size = -1;
  std::map<std::string, int> fail;  // operation name -> error code to return
  bool open = false;
  int Count(const std::string& name) const {
    int n = 0;
    for (const auto& c : calls) n += c == name;
    return n;
  }
};

class FakeSerialBackend final : public SerialBackend {
 public:
  explicit FakeSerialBackend(std::shared_ptr<FakeDeviceLog> log) : log_(std::move(log)) {}

  int Open(const std::string& path) override {
    if (int e = Call("Open:" + path)) return e;
    if (int e = Call("Open")) return e;
    log_->open = true;
    return 0;
  }
  void Close() override {
    log_->calls.push_back("Close");
    log_->open = false;
  }
  bool IsOpen() const override { return log_->open; }
  int ApplyLine(const LineSettings& s) override {
    log_->line = s;
    return Call("ApplyLine");
  }
  int ApplyTimeouts(const DeviceTimeouts& t) override {
    log_->timeouts = t;
    return Call("ApplyTimeouts");
  }
  int ApplyQueueSizes(int in, int out) override {
    log_->input_size = in;
    log_->output_size = out;
    return Call("ApplyQueueSizes");
  }
  IoResult Read(char*, std::size_t) override { return {0, Call("Read")}; }
  IoResult Write(const char*, std::size_t n) override {
    const int e = Call("Write");
    return {e ? 0 : static_cast<int>(n), e};
  }
  int InputCount(int& n) override { return n = 0, Call("InputCount"); }
  int OutputCount(int& n) override { return n = 0, Call("OutputCount"); }
  int TakeErrors(TComErrors& e) override {
    e = TComErrors{ceFrame, ceRxParity};
    return Call("TakeErrors");
  }
  int ModemLines(TComSignals& s) override {
    s = TComSignals{csCTS, csRLSD};
    return Call("ModemLines");
  }
  int HoldFlags(TComStateFlags& f) override { return f = {}, Call("HoldFlags"); }
  int SetDTR(bool) override { return Call("SetDTR"); }
  int SetRTS(bool) override { return Call("SetRTS"); }
  int SetBreak(bool) override { return Call("SetBreak"); }
  int SetXonXoff(bool) override { return Call("SetXonXoff"); }
  int Purge(bool, bool) override { return Call("Purge"); }
  int AbortPending() override { return Call("AbortPending"); }
  int TransmitChar(char) override { return Call("TransmitChar"); }
  std::unique_ptr<EventWaiter> CreateEventWaiter(TComEvents, int& error) override {
    error = Call("CreateEventWaiter");
    return nullptr;
  }

 private:
  int Call(const std::string& name) {
    log_->calls.push_back(name);
    const auto it = log_->fail.find(name);
    return it == log_->fail.end() ? 0 : it->second;
  }
  std::shared_ptr<FakeDeviceLog> log_;
};

}  // namespace theolink::test
