#pragma once
// Lines handed out one at a time, so that a large text need not be held whole or cut into
// a list of views before it is read.
#include <cstddef>
#include <string_view>

#include "records/line_list.h"

namespace theolink {

class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line, false at the end. The view stays valid only until the next call.
  virtual bool Next(std::string_view& line) = 0;
  // Back to the first line; false when the lines cannot be read again.
  virtual bool Rewind() = 0;
  // True when reading stopped at an error: the lines given were not all there are.
  virtual bool Failed() const { return false; }
};

// The lines of a list of views.
class SpanLineSource final : public LineSource {
 public:
  explicit SpanLineSource(LineSpan lines) : lines_(lines) {}
  bool Next(std::string_view& line) override {
    if (next_ == lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }
  bool Rewind() override {
    next_ = 0;
    return true;
  }
  // How many lines Next has handed out since the start, and how many there are.
  std::size_t Position() const { return next_; }
  std::size_t Size() const { return lines_.size(); }

 private:
  LineSpan lines_;
  std::size_t next_ = 0;
};

}  // namespace theolink
