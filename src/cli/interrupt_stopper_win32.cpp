// Ctrl-C, Ctrl-Break and a closed console taken by SetConsoleCtrlHandler.
#include <windows.h>

#include <atomic>

#include "cli/interrupt_stopper.h"

namespace theolink::cli {

struct InterruptStopper::State {
  std::function<void()> onSignal;
};

namespace {

// The system's handler takes no argument, so the one stopper alive is found here.
std::atomic<InterruptStopper::State*> gStopper{nullptr};

}  // namespace

// Windows calls the handler on a thread of its own, as the POSIX stopper's thread.
struct InterruptStopperHandler {
  static BOOL WINAPI OnControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT) return FALSE;
    InterruptStopper::State* state = gStopper.load();
    if (state == nullptr) return FALSE;
    state->onSignal();
    return TRUE;
  }
};

InterruptStopper::InterruptStopper(std::function<void()> onSignal) : state_(std::make_unique<State>()) {
  state_->onSignal = std::move(onSignal);
  gStopper.store(state_.get());
  ::SetConsoleCtrlHandler(&InterruptStopperHandler::OnControl, TRUE);
}

InterruptStopper::~InterruptStopper() {
  ::SetConsoleCtrlHandler(&InterruptStopperHandler::OnControl, FALSE);
  gStopper.store(nullptr);
}

}  // namespace theolink::cli
