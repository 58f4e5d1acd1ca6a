#pragma once
// How the port's event thread hands work to the thread that owns the port (the
// user-interface thread): a dispatcher that runs posted tasks on that thread, and a
// cancellable run-and-wait channel on top of it.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace theolink {

class UiDispatcher {
 public:
  virtual ~UiDispatcher() = default;
  // Queues task to run later on the owning thread; callable from any thread, never blocks.
  virtual void Post(std::function<void()> task) = 0;
  // True on the thread that runs the posted tasks.
  virtual bool IsOwningThread() const = 0;
  // Called on the owning thread with an error raised by a task nobody waits for.
  virtual void ReportError(std::exception_ptr error) = 0;
};

// Run-and-wait over a dispatcher, cancellable as a whole. One channel serves one event
// thread; the port cancels it when it closes, which releases a waiting thread at once and
// drops every hand-off that has not started, so none runs against a closed port.
class HandOffChannel {
 public:
  enum class Wait { UntilDone, UntilTaken };

  explicit HandOffChannel(UiDispatcher& dispatcher);
  ~HandOffChannel();
  HandOffChannel(const HandOffChannel&) = delete;
  HandOffChannel& operator=(const HandOffChannel&) = delete;

  // Runs task on the owning thread and blocks until it has returned (UntilDone) or has
  // been taken up (UntilTaken). False when the channel was cancelled before the task
  // finished. With UntilDone an error raised by the task is raised here again; with
  // UntilTaken it goes to the dispatcher's ReportError. On the owning thread the task
  // simply runs.
  bool RunAndWait(std::function<void()> task, Wait wait);
  // Any thread: drop hand-offs not yet started, release waiters, refuse new ones.
  void Cancel();
  bool Cancelled() const;

 private:
  struct State;
  UiDispatcher& dispatcher_;
  std::shared_ptr<State> state_;
};

// A dispatcher for programs without a window toolkit and for tests: the owning thread
// (the one that constructs it) pumps it.
class QueueDispatcher final : public UiDispatcher {
 public:
  QueueDispatcher();

  void Post(std::function<void()> task) override;
  bool IsOwningThread() const override;
  // Keeps the message of every reported error for TakeErrors.
  void ReportError(std::exception_ptr error) override;

  // Runs the tasks queued now (not those they queue in turn); returns how many ran.
  int ProcessPending();
  // Sleeps until a task is queued, Wake is called or timeout passes, then processes
  // what is pending; returns how many tasks ran.
  int WaitAndProcess(std::chrono::milliseconds timeout);
  // Ends a WaitAndProcess early (any thread).
  void Wake();
  // Tasks queued and not yet run (any thread).
  std::size_t PendingCount() const;
  // The messages of the errors reported so far; clears them.
  std::vector<std::string> TakeErrors();

 private:
  std::thread::id owner_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> queue_;
  bool woken_ = false;
  std::vector<std::string> errors_;
};

}  // namespace theolink
