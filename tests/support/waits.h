#pragma once
// Waiting in tests: a watchdog that turns a hang into a failure, and waits on conditions
// (never a bare sleep standing in for "long enough").
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "serial/ui_dispatcher.h"

namespace theolink::test {

using namespace std::chrono_literals;

// Aborts the test program when the guarded scope takes longer than limit, so a hang
// shows up as a failure with a message instead of a stuck run.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds limit, const char* what = "test");
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

// Pumps the dispatcher until pred holds or timeout passes; returns pred().
bool PumpUntil(QueueDispatcher& dispatcher, const std::function<bool()>& pred,
               std::chrono::milliseconds timeout = 3000ms);

// Waits (no dispatcher involved) until pred holds or timeout passes; returns pred().
bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = 3000ms);

// Pumps for a while regardless; returns how many hand-offs ran.
int PumpFor(QueueDispatcher& dispatcher, std::chrono::milliseconds span);

// Processor time of the whole test program so far.
std::chrono::microseconds ProcessCpuTime();

}  // namespace theolink::test
