#pragma once
// The operating system's serial service as the port component sees it. Every operation
// returns 0 or the operating system's error code; the component turns codes into errors.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "serial/com_types.h"

namespace theolink {

// Line parameters applied in one call.
struct LineSettings {
  std::int64_t baud_rate = 9600;
  int data_bits = 8;
  TParityBits parity = prNone;
  TStopBits stop_bits = sbOneStopBit;
  bool parity_check = false;
  bool parity_replace = false;
  char replace_char = 0;
  bool discard_null = false;
  bool out_cts_flow = false;
  bool out_dsr_flow = false;
  TDTRFlowControl dtr = dtrDisable;
  TRTSFlowControl rts = rtsDisable;
  bool xon_xoff_out = false;
  bool xon_xoff_in = false;
  bool dsr_sensitivity = false;
  bool tx_continue_on_xoff = false;
  int xon_limit = 256;
  int xoff_limit = 256;
  char xon_char = 17;
  char xoff_char = 19;
  char event_char = 0;
};

// Read and write time-outs in milliseconds; kNoInterval in read_interval means "return
// what is there" when both read totals are 0.
struct DeviceTimeouts {
  static constexpr std::uint32_t kNoInterval = 0xFFFFFFFFu;
  std::uint32_t read_interval = kNoInterval;
  std::uint32_t read_total_multiplier = 0;
  std::uint32_t read_total_constant = 0;
  std::uint32_t write_total_multiplier = 100;
  std::uint32_t write_total_constant = 1000;
};

struct IoResult {
  int count = 0;  // bytes transferred
  int error = 0;  // 0 or the operating system's code
};

// Waits for device events and a stop request at once.
class EventWaiter {
 public:
  struct Result {
    bool stopped = false;   // Stop was called
    bool failed = false;    // the wait itself failed (error holds the code)
    bool hung_up = false;   // the device vanished; nothing more will come
    TComEvents events;      // reported events, within the selection
    int error = 0;
  };
  virtual ~EventWaiter() = default;
  // Blocks without a time limit until a selected event, a hang-up, a failure or Stop.
  virtual Result Wait() = 0;
  // Any thread; makes the current or next Wait return stopped.
  virtual void Stop() = 0;
};

class SerialBackend {
 public:
  virtual ~SerialBackend() = default;

  // Opens the device path exclusively for reading and writing, in raw byte mode.
  virtual int Open(const std::string& device_path) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  virtual int ApplyLine(const LineSettings& settings) = 0;
  virtual int ApplyTimeouts(const DeviceTimeouts& timeouts) = 0;
  virtual int ApplyQueueSizes(int input_size, int output_size) = 0;

  // Both bounded by the time-outs last applied.
  virtual IoResult Read(char* buffer, std::size_t count) = 0;
  virtual IoResult Write(const char* buffer, std::size_t count) = 0;

  virtual int InputCount(int& count) = 0;
  virtual int OutputCount(int& count) = 0;
  virtual int TakeErrors(TComErrors& errors) = 0;
  virtual int ModemLines(TComSignals& signals) = 0;
  virtual int HoldFlags(TComStateFlags& flags) = 0;
  virtual int SetDTR(bool on) = 0;
  virtual int SetRTS(bool on) = 0;
  virtual int SetBreak(bool on) = 0;
  virtual int SetXonXoff(bool xon) = 0;
  virtual int Purge(bool input, bool output) = 0;
  virtual int AbortPending() = 0;
  virtual int TransmitChar(char ch) = 0;

  // A waiter for the selected events of the open device, or null with error set.
  virtual std::unique_ptr<EventWaiter> CreateEventWaiter(TComEvents selected, int& error) = 0;
};

// The serial service of the platform this program runs on.
std::unique_ptr<SerialBackend> CreatePlatformBackend();

}  // namespace theolink
