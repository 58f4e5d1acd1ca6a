#include "support/waits.h"

#include <cstdio>
#include <cstdlib>

namespace theolink::test {

Watchdog::Watchdog(std::chrono::milliseconds limit, const char* what)
    : thread_([this, limit, what] {
        std::unique_lock lock(mutex_);
        if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
          std::fprintf(stderr, "HANG: %s did not finish in time\n", what);
          std::abort();
        }
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

bool PumpUntil(QueueDispatcher& dispatcher, const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    dispatcher.WaitAndProcess(10ms);
  }
  return true;
}

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  // What the predicate watches lives in other threads and the kernel, which signal nothing
  // a test could wait on; looking often keeps the wait short without spinning.
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

int PumpFor(QueueDispatcher& dispatcher, std::chrono::milliseconds span) {
  int ran = 0;
  const auto deadline = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < deadline) ran += dispatcher.WaitAndProcess(10ms);
  return ran;
}

}  // namespace theolink::test
