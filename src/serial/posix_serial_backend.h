#pragma once
// The termios implementation of the serial service.
#include <termios.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "serial/serial_backend.h"

namespace theolink::posix {

class PosixSerialBackend final : public SerialBackend {
 public:
  PosixSerialBackend() = default;
  ~PosixSerialBackend() override;

  int Open(const std::string& device_path) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }

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

  int Descriptor() const { return fd_.load(); }

 private:
  // The bytes waiting in one of the queues (FIONREAD, TIOCOUTQ).
  int QueuedCount(unsigned long request, int& count);
  struct Counters {
    int frame = 0, parity = 0, overrun = 0, brk = 0, buf_overrun = 0;
  };
  static int ValidFd(int fd);
  int ReadOnce(int fd, char* buffer, std::size_t count, std::size_t& got);
  static bool ReadCounters(int fd, Counters& counters);

  // Atomic because a handler on the event thread (smNone) may close the device.
  std::atomic<int> fd_{-1};
  DeviceTimeouts timeouts_;
  bool discard_null_ = false;
  bool have_counters_ = false;
  termios found_{};  // the line's settings before Open, put back by Close
  Counters counters_;
};

// Waits on a device descriptor and a stop signal with one epoll.
std::unique_ptr<EventWaiter> CreateEpollEventWaiter(int device_fd, TComEvents selected,
                                                    int& error);

}  // namespace theolink::posix
