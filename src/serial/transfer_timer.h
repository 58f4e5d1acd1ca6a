#pragma once
// The end-of-transfer timer (Timer1): the window runs a toolkit timer on its UI thread, a
// program without a toolkit keeps a deadline that its own loop checks.
#include <chrono>
#include <optional>

namespace theolink {

class TransferTimer {
 public:
  virtual ~TransferTimer() = default;
  // (Re)starts the timer with a fresh count of interval_ms.
  virtual void Start(int interval_ms) = 0;
  virtual void Stop() = 0;
};

// A timer as a deadline: whoever pumps the thread asks Due() and fires it.
class DeadlineTimer final : public TransferTimer {
 public:
  using Clock = std::chrono::steady_clock;

  void Start(int interval_ms) override { deadline_ = Clock::now() + std::chrono::milliseconds(interval_ms); }
  void Stop() override { deadline_.reset(); }

  bool Armed() const { return deadline_.has_value(); }
  // True once an armed timer's time has come.
  bool Due() const { return deadline_ && Clock::now() >= *deadline_; }
  // Time until it is due (zero when due), or nothing when it is not armed.
  std::optional<std::chrono::milliseconds> TimeLeft() const {
    if (!deadline_) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
    return left.count() > 0 ? left : std::chrono::milliseconds(0);
  }

 private:
  std::optional<Clock::time_point> deadline_;
};

}  // namespace theolink
