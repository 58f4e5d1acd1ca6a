#include <utility>

#include "serial/ui_dispatcher.h"

namespace theolink {

struct HandOffChannel::State {
  std::mutex mutex;
  std::condition_variable cv;
  bool cancelled = false;
};

namespace {

enum class Phase { Queued, Running, Done, Dropped };

struct Item {
  Phase phase = Phase::Queued;
  std::exception_ptr error;
};

}  // namespace

HandOffChannel::HandOffChannel(UiDispatcher& dispatcher)
    : dispatcher_(dispatcher), state_(std::make_shared<State>()) {}

HandOffChannel::~HandOffChannel() { Cancel(); }

bool HandOffChannel::Cancelled() const {
  std::lock_guard lock(state_->mutex);
  return state_->cancelled;
}

void HandOffChannel::Cancel() {
  {
    std::lock_guard lock(state_->mutex);
    state_->cancelled = true;
  }
  state_->cv.notify_all();
}

bool HandOffChannel::RunAndWait(std::function<void()> task, Wait wait) {
  if (dispatcher_.IsOwningThread()) {
    if (Cancelled()) return false;
    task();
    return true;
  }
  auto state = state_;
  auto item = std::make_shared<Item>();
  {
    std::lock_guard lock(state->mutex);
    if (state->cancelled) return false;
  }
  // The posted task may outlive this call (and the channel) when it is cancelled, so it
  // keeps the shared state and the item alive by itself.
  UiDispatcher* dispatcher = &dispatcher_;
  dispatcher_.Post([state, item, task = std::move(task), wait, dispatcher] {
    {
      std::lock_guard lock(state->mutex);
      if (state->cancelled || item->phase == Phase::Dropped) {
        item->phase = Phase::Dropped;
        return;
      }
      item->phase = Phase::Running;
    }
    if (wait == Wait::UntilTaken) state->cv.notify_all();
    std::exception_ptr error;
    try {
      task();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(state->mutex);
      item->phase = Phase::Done;
      item->error = error;
    }
    state->cv.notify_all();
    if (error && wait == Wait::UntilTaken) dispatcher->ReportError(error);
  });

  std::unique_lock lock(state->mutex);
  state->cv.wait(lock, [&] {
    return state->cancelled || item->phase == Phase::Done ||
           (wait == Wait::UntilTaken && item->phase != Phase::Queued);
  });
  if (item->phase == Phase::Done) {
    if (item->error && wait == Wait::UntilDone) std::rethrow_exception(item->error);
    return true;
  }
  if (wait == Wait::UntilTaken && item->phase == Phase::Running) return true;
  if (item->phase == Phase::Queued) item->phase = Phase::Dropped;
  return false;
}

}  // namespace theolink
