// SIGINT, SIGTERM and SIGHUP taken by a thread of their own with sigwait.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "cli/interrupt_stopper.h"

namespace theolink::cli {

struct InterruptStopper::State {
  sigset_t signals{};
  sigset_t previous{};
  std::atomic<bool> done{false};
  std::thread waiter;
};

InterruptStopper::InterruptStopper(std::function<void()> onSignal) : state_(std::make_unique<State>()) {
  sigemptyset(&state_->signals);
  sigaddset(&state_->signals, SIGINT);
  sigaddset(&state_->signals, SIGTERM);
  // A closed terminal or session ends the transfer as Ctrl-C does, not the process.
  sigaddset(&state_->signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &state_->signals, &state_->previous);
  state_->waiter = std::thread([state = state_.get(), onSignal = std::move(onSignal)] {
    int signal = 0;
    while (sigwait(&state->signals, &signal) == 0) {
      if (state->done.load()) return;
      onSignal();
    }
  });
}

InterruptStopper::~InterruptStopper() {
  state_->done.store(true);
  pthread_kill(state_->waiter.native_handle(), SIGTERM);
  state_->waiter.join();
  pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr);
}

}  // namespace theolink::cli
