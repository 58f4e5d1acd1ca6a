#pragma once
// The Win32 implementation of the serial service: an overlapped handle on \\.\COMn.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "serial/serial_backend.h"

namespace theolink::win32 {

class Win32SerialBackend final : public SerialBackend {
 public:
  Win32SerialBackend() = default;
  ~Win32SerialBackend() override;

  int Open(const std::string& device_path) override;
  void Close() override;
  bool IsOpen() const override { return handle_.load() != INVALID_HANDLE_VALUE; }

  int ApplyLine(const LineSettings& settings) override;
  int ApplyTimeouts(const DeviceTimeouts& timeouts) override;
  int ApplyQueueSizes(int input_size, int output_size) override;

  IoResult Read(char* buffer, std::size_t count) override;
  IoResult Write(const char* buffer, std::size_t count) override;

  int InputCount(int& count) override;
  int OutputCount(int& count) override;
  int TakeErrors(TComErrors& errors) override;
  int ModemLines(TComSignals& signals) override;
  int HoldFlags(TComStateFlags& flags) override;
  int SetDTR(bool on) override;
  int SetRTS(bool on) override;
  int SetBreak(bool on) override;
  int SetXonXoff(bool xon) override;
  int Purge(bool input, bool output) override;
  int AbortPending() override;
  int TransmitChar(char ch) override;

  std::unique_ptr<EventWaiter> CreateEventWaiter(TComEvents selected, int& error) override;

 private:
  // One overlapped read or write, waited for; the time-outs applied bound it.
  IoResult Transfer(bool write, char* buffer, std::size_t count);
  int Escape(DWORD function);
  // call(handle) on the open port: 0, the system's code when it fails, ERROR_INVALID_HANDLE
  // when the port is closed.
  template <typename Call>
  int OnPort(Call call);
  int Status(COMSTAT& status, DWORD& errors);
  // One of the queue counts ClearCommError gives.
  int QueueCount(DWORD COMSTAT::*queue, int& count);

  // Atomic because a handler on the event thread (smNone) may close the device.
  std::atomic<HANDLE> handle_{INVALID_HANDLE_VALUE};
  DCB found_{};  // the line's settings before Open, put back by Close
  // Set once the device is gone (an unplugged adapter, a closed other end).
  std::shared_ptr<std::atomic<bool>> hung_up_ = std::make_shared<std::atomic<bool>>(false);
};

// Waits for the selected events of an open handle with WaitCommEvent and for a stop event.
std::unique_ptr<EventWaiter> CreateCommEventWaiter(HANDLE device, TComEvents selected,
                                                   std::shared_ptr<std::atomic<bool>> hung_up, int& error);

// True for the codes a vanished device answers with.
bool IsHangUpError(DWORD code);

}  // namespace theolink::win32
