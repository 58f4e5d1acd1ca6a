#include "serial/transfer_console.h"

#include <pthread.h>

namespace theolink {

ConsoleTransferDisplay::ConsoleTransferDisplay(std::ostream& out, TextOf textOf, bool live)
    : out_(out), textOf_(std::move(textOf)), live_(live) {}

void ConsoleTransferDisplay::ShowStatus(TextId message) {
  lastStatus_ = message;
  const auto bit = static_cast<unsigned>(message);
  if (bit < 64) statusSeen_ |= std::uint64_t{1} << bit;
}

bool ConsoleTransferDisplay::EverShown(TextId status) const {
  const auto bit = static_cast<unsigned>(status);
  return bit < 64 && (statusSeen_ >> bit & 1u) != 0;
}

void ConsoleTransferDisplay::ShowCounter(TextId prefix, int value) {
  const bool changed = !counter_ || counter_->second != value || counter_->first != prefix;
  counter_ = {prefix, value};
  if (!live_ || !changed) return;
  // Redrawing per line would cost more than receiving it; ten times a second is plenty.
  const auto now = std::chrono::steady_clock::now();
  if (progressOpen_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  out_ << '\r' << textOf_(prefix) << value << std::flush;
  progressOpen_ = true;
}

void ConsoleTransferDisplay::ShowMessage(TextId message) {
  EndProgressLine();
  out_ << textOf_(message) << '\n' << std::flush;
}

void ConsoleTransferDisplay::EndProgressLine() {
  if (!progressOpen_) return;
  out_ << '\n';
  progressOpen_ = false;
}

void ConsoleTransferDisplay::Finish() {
  if (counter_) out_ << '\r' << textOf_(counter_->first) << counter_->second << '\n';
  progressOpen_ = false;
  out_ << std::flush;
}

InterruptStopper::InterruptStopper(PortTransferHost& host) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  waiter_ = std::thread([this, &host] {
    int signal = 0;
    while (sigwait(&signals_, &signal) == 0) {
      if (done_.load()) return;
      host.RequestStop();
    }
  });
}

InterruptStopper::~InterruptStopper() {
  done_.store(true);
  pthread_kill(waiter_.native_handle(), SIGTERM);
  waiter_.join();
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace theolink
