#include "serial/com_thread.h"

#include <pthread.h>
#include <time.h>

#include <atomic>
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
struct TComThread::Core {
  TCustomComPort& port;
  std::unique_ptr<EventWaiter> waiter;
  UiDispatcher* dispatcher;
  TSyncMethod method;
  std::unique_ptr<HandOffChannel> channel;
  std::atomic<bool> finished{false};
  std::atomic<std::int64_t> final_cpu{-1};
  std::atomic<std::thread::id> id{};
  std::atomic<int> clock_state{0};  // 0 not yet known, 1 usable, 2 unavailable
  clockid_t clock{};

  Core(TCustomComPort& p, std::unique_ptr<EventWaiter> w, UiDispatcher* d, TSyncMethod m)
      : port(p), waiter(std::move(w)), dispatcher(d), method(m) {
    if (dispatcher && method != smNone) channel = std::make_unique<HandOffChannel>(*dispatcher);
  }

  // False when the thread must end: the channel was cancelled, or a handler raised.
  bool DispatchComMsg(TComEvents events) {
    TCustomComPort& p = port;
    try {
      if (!channel) {
        DoComEvents(p, events);
        return true;
      }
      if (method == smThreadSync) {
        return channel->RunAndWait([&p, events] { DoComEvents(p, events); },
                                   HandOffChannel::Wait::UntilDone);
      }
      // One hand-off per event; the receiver releases this thread as it takes it.
      for (const EventCall& e : kOrder) {
        if (!events.Contains(e.event)) continue;
        const CallFn call = e.call;
        const bool taken = channel->RunAndWait(
            [&p, call] {
              if (p.Connected()) (p.*call)();
            },
            HandOffChannel::Wait::UntilTaken);
        if (!taken) return false;
      }
      return true;
    } catch (...) {
      return false;
    }
  }

  void Execute() {
    id = std::this_thread::get_id();
    clock_state = ::pthread_getcpuclockid(::pthread_self(), &clock) == 0 ? 1 : 2;
    for (;;) {
      const EventWaiter::Result r = waiter->Wait();
      // A failed wait is not retried: a wait that fails once keeps failing, and retrying
      // would spin. A hang-up ends the wait for good for the same reason.
      if (r.stopped || r.failed) break;
      if (!r.events.Empty() && !DispatchComMsg(r.events)) break;
      if (r.hung_up) break;
    }
    final_cpu = ThreadCpuNanos(CLOCK_THREAD_CPUTIME_ID);
    finished = true;
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
  std::this_thread::yield();
}

void TComThread::WaitFor() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool TComThread::Finished() const { return core_->finished; }

std::chrono::nanoseconds TComThread::CpuTime() const {
  while (core_->clock_state == 0 && !core_->finished) std::this_thread::yield();
  if (!core_->finished && core_->clock_state == 1) {
    const std::int64_t now = ThreadCpuNanos(core_->clock);
    if (now >= 0) return std::chrono::nanoseconds(now);
  }
  if (core_->clock_state == 2 && !core_->finished) return std::chrono::nanoseconds(-1);
  // Once the thread has ended its clock is gone; the figure taken at its end stands.
  while (!core_->finished) std::this_thread::yield();
  return std::chrono::nanoseconds(core_->final_cpu.load());
}

}  // namespace theolink
