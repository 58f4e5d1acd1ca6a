#include "serial/win32_serial_backend.h"

namespace theolink::win32 {

namespace {

struct EventBit {
  TComEvent event;
  DWORD mask;
};

constexpr EventBit kBits[] = {
    {evRxChar, EV_RXCHAR}, {evTxEmpty, EV_TXEMPTY}, {evRxFlag, EV_RXFLAG}, {evRing, EV_RING},
    {evBreak, EV_BREAK},   {evCTS, EV_CTS},         {evDSR, EV_DSR},       {evError, EV_ERR},
    {evRLSD, EV_RLSD},     {evRx80Full, EV_RX80FULL},
};

// What a pseudo-terminal under Wine cannot report; the POSIX backend reports none of it either.
constexpr DWORD kLineAndModem =
    EV_ERR | EV_BREAK | EV_CTS | EV_DSR | EV_RING | EV_RLSD | EV_RX80FULL | EV_TXEMPTY | EV_RXFLAG;

// One WaitCommEvent at a time; Stop sets an event the wait also watches, and the pending
// wait is cancelled before Wait returns, so nothing outlives the OVERLAPPED it writes to.
class CommEventWaiter final : public EventWaiter {
 public:
  CommEventWaiter(HANDLE device, HANDLE done, HANDLE stop, DWORD mask, TComEvents selected,
                  std::shared_ptr<std::atomic<bool>> hung_up)
      : device_(device), done_(done), stop_(stop), mask_(mask), selected_(selected), hung_up_(std::move(hung_up)) {}
  ~CommEventWaiter() override {
    ::CloseHandle(done_);
    ::CloseHandle(stop_);
  }

  Result Wait() override {
    Result result;
    for (;;) {
      if (::WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) {
        result.stopped = true;
        return result;
      }
      OVERLAPPED ov{};
      ov.hEvent = done_;
      ::ResetEvent(done_);
      DWORD happened = 0;
      DWORD error = ERROR_SUCCESS;
      if (!::WaitCommEvent(device_, &happened, &ov)) {
        error = ::GetLastError();
        if (error == ERROR_IO_PENDING) {
          const HANDLE both[2] = {done_, stop_};
          DWORD which = WAIT_TIMEOUT;
          bool gone = false;
          // Such a port reports no hang-up either: it is looked at while nothing comes.
          while ((which = ::WaitForMultipleObjects(2, both, FALSE, reduced_ ? kLookMs : INFINITE)) == WAIT_TIMEOUT) {
            if ((gone = !DeviceAnswers())) break;
          }
          if (gone) {
            ::CancelIoEx(device_, &ov);
            DWORD ignored = 0;
            ::GetOverlappedResult(device_, &ov, &ignored, TRUE);
            return HungUp();
          }
          if (which != WAIT_OBJECT_0) {
            // Stopped (or the wait failed): take the pending wait back before ov goes.
            ::CancelIoEx(device_, &ov);
            DWORD ignored = 0;
            ::GetOverlappedResult(device_, &ov, &ignored, TRUE);
            result.stopped = which == WAIT_OBJECT_0 + 1;
            if (!result.stopped) {
              result.failed = true;
              result.error = static_cast<int>(::GetLastError());
            }
            return result;
          }
          DWORD ignored = 0;
          error = ::GetOverlappedResult(device_, &ov, &ignored, FALSE) ? ERROR_SUCCESS : ::GetLastError();
        }
      }
      if (error != ERROR_SUCCESS && !reduced_ && (mask_ & kLineAndModem) != 0 && !IsHangUpError(error)) {
        // A port that cannot report its line status or modem lines (a virtual port, Wine's
        // pseudo-terminal) refuses the whole wait: it still reports what arrives.
        reduced_ = true;
        if (::SetCommMask(device_, mask_ & ~kLineAndModem)) continue;
      }
      // Wine's pseudo-terminal ends its waits at once, aborted, when it has hung up.
      if (reduced_ && !DeviceAnswers()) {
        // Bytes that came with the hang-up are handed on first, as the POSIX waiter does.
        if ((happened & EV_RXCHAR) && selected_.Contains(evRxChar) && !gone_) {
          gone_ = true;
          Result bytes;
          bytes.events.Include(evRxChar);
          return bytes;
        }
        return HungUp();
      }
      if (error != ERROR_SUCCESS) {
        // Wine ends each wait on a port without modem lines at once, after one look at the
        // input queue: the waits become a poll, paced so that it costs next to nothing.
        if (error == ERROR_OPERATION_ABORTED && reduced_) ::WaitForSingleObject(stop_, kPollMs);
        if (error == ERROR_OPERATION_ABORTED) continue;  // or the mask was set anew
        if (IsHangUpError(error) || error == ERROR_ACCESS_DENIED) return HungUp();
        result.failed = true;
        result.error = static_cast<int>(error);
        return result;
      }
      for (const EventBit& bit : kBits) {
        if ((happened & bit.mask) && selected_.Contains(bit.event)) result.events.Include(bit.event);
      }
      if (!result.events.Empty()) return result;
    }
  }

  void Stop() override { ::SetEvent(stop_); }

 private:
  static constexpr DWORD kLookMs = 200;
  static constexpr DWORD kPollMs = 5;

  // A vanished device no longer gives its line settings, which it always does while there.
  bool DeviceAnswers() const {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    return ::GetCommState(device_, &dcb) != 0;
  }

  Result HungUp() {
    *hung_up_ = true;
    Result result;
    result.hung_up = true;
    if (selected_.Contains(evError)) result.events.Include(evError);
    return result;
  }

  HANDLE device_;
  HANDLE done_;
  HANDLE stop_;
  DWORD mask_;
  bool reduced_ = false;
  bool gone_ = false;  // the bytes of the hang-up's wake-up were handed on
  TComEvents selected_;
  std::shared_ptr<std::atomic<bool>> hung_up_;
};

}  // namespace

std::unique_ptr<EventWaiter> CreateCommEventWaiter(HANDLE device, TComEvents selected,
                                                   std::shared_ptr<std::atomic<bool>> hung_up, int& error) {
  error = 0;
  DWORD mask = 0;
  for (const EventBit& bit : kBits) {
    if (selected.Contains(bit.event)) mask |= bit.mask;
  }
  if (!::SetCommMask(device, mask)) {
    error = static_cast<int>(::GetLastError());
    return nullptr;
  }
  const HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (done == nullptr || stop == nullptr) {
    error = static_cast<int>(::GetLastError());
    if (done != nullptr) ::CloseHandle(done);
    if (stop != nullptr) ::CloseHandle(stop);
    return nullptr;
  }
  return std::make_unique<CommEventWaiter>(device, done, stop, mask, selected, std::move(hung_up));
}

}  // namespace theolink::win32
