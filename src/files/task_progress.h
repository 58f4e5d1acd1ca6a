#pragma once
// Progress and cancel of a long open or save, which the window runs on a thread of its own.
// The work reports now and then; a cancel is thrown from the report, so the work unwinds
// and whatever it built aside (working data, a temporary file) goes with it.
#include <cstddef>
#include <cstdint>

namespace theolink {

// Thrown by TaskProgress once the work is to stop. Deliberately no std::exception, so that
// no handler of ordinary failures takes it for one.
struct TaskCancelled {};

class TaskProgress {
 public:
  // done of total (bytes, lines or records; total 0 when not known). Throws TaskCancelled
  // once the work is to stop. Called on the working thread.
  virtual void Report(std::uint64_t done, std::uint64_t total) = 0;
  // Throws TaskCancelled once the work is to stop, for work that knows no count.
  virtual void Check() = 0;

 protected:
  ~TaskProgress() = default;
};

// Items between two reports: a few milliseconds of work at most, so a cancel acts at once.
inline constexpr std::size_t kProgressStep = std::size_t{1} << 14;

// Reports item i of n through progress (when there is one) every kProgressStep items.
inline void ReportEvery(TaskProgress* progress, std::size_t i, std::size_t n) {
  if (progress != nullptr && i % kProgressStep == 0) progress->Report(i, n);
}

}  // namespace theolink
