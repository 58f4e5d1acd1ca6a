#pragma once
// Where a reader puts the lines it makes, one at a time: a line list, one packed buffer, or
// straight out to a stream, so a large file need not become millions of small strings.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "records/line_list.h"

namespace theolink {

class LineOutput {
 public:
  virtual ~LineOutput() = default;
  virtual void Add(std::string_view line) = 0;
  // Several lines in order, as many Adds; a sink may take them in one step.
  virtual void AddAll(std::span<const std::string_view> lines) {
    for (const std::string_view line : lines) Add(line);
  }
  // Lines already made into text, each followed by CR LF: as an Add of each; a sink that
  // ends its lines with CR LF may take the text whole. (A line holding CR LF itself is
  // cut there, which a file's bytes do not show.)
  virtual void AddEnded(std::string_view text) {
    for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(end + 2))
      Add(text.substr(0, end));
  }
};

// Appends to a line list.
class LineListOutput final : public LineOutput {
 public:
  explicit LineListOutput(LineList& lines) : lines_(lines) {}
  void Add(std::string_view line) override { lines_.emplace_back(line); }

 private:
  LineList& lines_;
};

// Keeps the lines end to end in blocks that never move, so each line's view is made as it
// comes and stays valid while this lives: one buffer's worth of bytes, no string per line.
class PackedLines final : public LineOutput {
 public:
  PackedLines() = default;
  PackedLines(const PackedLines&) = delete;
  PackedLines& operator=(const PackedLines&) = delete;

  void Add(std::string_view line) override {
    if (line.size() > room_) {
      const std::size_t size = std::max(kBlockSize, line.size());
      blocks_.push_back(std::make_unique<char[]>(size));
      next_ = blocks_.back().get();
      room_ = size;
    }
    if (!line.empty()) std::memcpy(next_, line.data(), line.size());
    lines_.emplace_back(next_, line.size());
    next_ += line.size();
    room_ -= line.size();
  }
  const LineViews& Lines() const { return lines_; }

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t room_ = 0;
  LineViews lines_;
};

}  // namespace theolink
