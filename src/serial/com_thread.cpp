#include "serial/com_thread.h"

#include <pthread.h>
#include <time.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

#include "serial/com_port.h"
#include "serial/serial_backend.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

namespace {

using CallFn = void (TCustomComPort::*)();

struct EventCall {
  TComEvent event;
  CallFn call;
};

constexpr EventCall kOrder[] = {
    {evError, &TCustomComPort::CallError},           {evRxChar, &TCustomComPort::CallRxChar},
    {evTxEmpty, &TCustomComPort::CallTxEmpty},       {evBreak, &TCustomComPort::CallBreak},
    {evRing, &TCustomComPort::CallRing},             {evCTS, &TCustomComPort::CallCTSChange},
    {evDSR, &TCustomComPort::CallDSRChange},         {evRxFlag, &TCustomComPort::CallRxFlag},
    {evRLSD, &TCustomComPort::CallRLSDChange},       {evRx80Full, &TCustomComPort::CallRx80Full},
};

std::int64_t ThreadCpuNanos(clockid_t clock) {
  timespec ts{};
  if (::clock_gettime(clock, &ts) != 0) return -1;
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace

void DoComEvents(TCustomComPort& port, TComEvents events) {
  for (const EventCall& e : kOrder) {
    if (!events.Contains(e.event)) continue;
    // A handler may have closed the port; nothing more may run against it then.
    if (!port.Connected()) return;
    (port.*e.call)();
  }
}

// Everything the running thread touches, kept alive by the thread itself so that a
// handler on this thread may close the port (and free the TComThread) under it.
struct TComThread::Core : std::enable_shared_from_this<TComThread::Core> {
  TCustomComPort& port;
  std::unique_ptr<EventWaiter> waiter;
  UiDispatcher* dispatcher;
  TSyncMethod method;
  std::unique_ptr<HandOffChannel> channel;
  std::atomic<std::thread::id> id{};
  // A handler raised: the error has been reported and no further event is handed over.
  std::atomic<bool> handler_failed{false};

  // Guards the thread's clock and its end, which other threads wait for.
  mutable std::mutex mutex;
  mutable std::condition_variable cv;
  int clock_state = 0;  // 0 not yet known, 1 usable, 2 unavailable
  clockid_t clock{};
  bool finished = false;
  std::int64_t final_cpu = -1;

  Core(TCustomComPort& p, std::unique_ptr<EventWaiter> w, UiDispatcher* d, TSyncMethod m)
      : port(p), waiter(std::move(w)), dispatcher(d), method(m) {
    if (dispatcher && method != smNone) channel = std::make_unique<HandOffChannel>(*dispatcher);
  }

  // Runs on whichever thread handles the events; a handler's error is reported there,
  // while the port is certainly still alive, and stops the reporting.
  void RunGuarded(const std::function<void()>& events) {
    try {
      events();
    } catch (...) {
      handler_failed = true;
      waiter->Stop();
      port.HandleEventException(std::current_exception());
    }
  }

  // False when the thread must end: the channel was cancelled, or a handler raised.
  bool DispatchComMsg(TComEvents events) {
    TCustomComPort& p = port;
    if (!channel) {
      RunGuarded([&p, events] { DoComEvents(p, events); });
      return !handler_failed;
    }
    if (method == smThreadSync) {
      // The task keeps this alive: a handler may close the port and end the thread under it.
      const bool done = channel->RunAndWait(
          [self = shared_from_this(), &p, events] { self->RunGuarded([&p, events] { DoComEvents(p, events); }); },
          HandOffChannel::Wait::UntilDone);
      return done && !handler_failed;
    }
    // One hand-off per event; the receiver releases this thread as it takes it.
    for (const EventCall& e : kOrder) {
      if (!events.Contains(e.event)) continue;
      if (handler_failed) return false;
      const CallFn call = e.call;
      const bool taken = channel->RunAndWait(
          [self = shared_from_this(), &p, call] {
            if (!p.Connected() || self->handler_failed) return;
            self->RunGuarded([&p, call] { (p.*call)(); });
          },
          HandOffChannel::Wait::UntilTaken);
      if (!taken) return false;
    }
    return !handler_failed;
  }

  void Execute() {
    id = std::this_thread::get_id();
    {
      std::lock_guard lock(mutex);
      clock_state = pthread_getcpuclockid(pthread_self(), &clock) == 0 ? 1 : 2;
    }
    cv.notify_all();
    for (;;) {
      const EventWaiter::Result r = waiter->Wait();
      // A failed wait is not retried: a wait that fails once keeps failing, and retrying
      // would spin. A hang-up ends the wait for good for the same reason.
      if (r.stopped || r.failed || handler_failed) break;
      if (!r.events.Empty() && !DispatchComMsg(r.events)) break;
      if (r.hung_up) break;
    }
    const std::int64_t cpu = ThreadCpuNanos(CLOCK_THREAD_CPUTIME_ID);
    {
      std::lock_guard lock(mutex);
      final_cpu = cpu;
      finished = true;
    }
    cv.notify_all();
  }
};

TComThread::TComThread(TCustomComPort& port, std::unique_ptr<EventWaiter> waiter,
                       UiDispatcher* dispatcher, TSyncMethod method)
    : core_(std::make_shared<Core>(port, std::move(waiter), dispatcher, method)) {}

void TComThread::Start() {
  if (!thread_.joinable()) thread_ = std::thread([core = core_] { core->Execute(); });
}

// The thread records its own id: the std::thread object is still being assigned when
// the thread may already ask.
bool TComThread::IsCurrentThread() const { return core_->id.load() == std::this_thread::get_id(); }

TComThread::~TComThread() {
  Stop();
  WaitFor();
}

void TComThread::Stop() {
  core_->waiter->Stop();
  if (core_->channel) core_->channel->Cancel();
}

void TComThread::WaitFor() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool TComThread::Finished() const {
  std::lock_guard lock(core_->mutex);
  return core_->finished;
}

bool TComThread::WaitFinished(std::chrono::milliseconds limit) const {
  std::unique_lock lock(core_->mutex);
  return core_->cv.wait_for(lock, limit, [this] { return core_->finished; });
}

std::chrono::nanoseconds TComThread::CpuTime() const {
  std::unique_lock lock(core_->mutex);
  // Only a started thread has a clock; one that was never started has no figure.
  if (!thread_.joinable() && core_->clock_state == 0) return std::chrono::nanoseconds(-1);
  core_->cv.wait(lock, [this] { return core_->clock_state != 0 || core_->finished; });
  if (core_->finished) return std::chrono::nanoseconds(core_->final_cpu);
  if (core_->clock_state == 2) return std::chrono::nanoseconds(-1);
  // The clock stays valid while the thread runs: finished is set under this lock last.
  const std::int64_t now = ThreadCpuNanos(core_->clock);
  return std::chrono::nanoseconds(now);
}

}  // namespace theolink
