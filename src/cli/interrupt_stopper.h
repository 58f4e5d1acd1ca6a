#pragma once
// Ctrl-C and its kin as the Stop button of a transfer.
#include <functional>
#include <memory>

namespace theolink::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP (on Windows Ctrl-C, Ctrl-Break and a closed
// console) call onSignal on a thread of its own instead of ending the program. Create it
// before the port opens, so the port's thread inherits the blocked signals.
class InterruptStopper {
 public:
  explicit InterruptStopper(std::function<void()> onSignal);
  ~InterruptStopper();
  InterruptStopper(const InterruptStopper&) = delete;
  InterruptStopper& operator=(const InterruptStopper&) = delete;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace theolink::cli
