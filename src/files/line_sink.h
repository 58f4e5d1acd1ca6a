#pragma once
// Where writers put their lines: a line list (the window's buffer) or, for large exports,
// straight into a file (line_file.h), so no second copy of the output is held.
#include <string_view>

#include "records/line_list.h"

namespace theolink {

class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Add(std::string_view line) = 0;
};

// Appends to a line list.
class LineListSink final : public LineSink {
 public:
  explicit LineListSink(LineList& lines) : lines_(lines) {}
  void Add(std::string_view line) override { lines_.emplace_back(line); }

 private:
  LineList& lines_;
};

}  // namespace theolink
