#pragma once
// Where writers put their lines: a line list (the window's buffer) or, for large exports,
// straight into a file (line_file.h), so no second copy of the output is held.
#include <initializer_list>
#include <span>
#include <string_view>
#include <variant>

#include "records/line_list.h"
#include "records/line_output.h"

namespace theolink {

// Writers and readers share one line interface.
using LineSink = LineOutput;
using LineListSink = LineListOutput;

// What every writer takes: a line list or any sink, so each format has one entry point.
class LineOut {
 public:
  LineOut(LineList& lines) : target_(&lines) {}  // NOLINT(google-explicit-constructor)
  LineOut(LineSink& sink) : target_(&sink) {}    // NOLINT(google-explicit-constructor)

  void Add(std::string_view line) {
    if (LineList* const* lines = std::get_if<LineList*>(&target_)) {
      (*lines)->emplace_back(line);
    } else {
      std::get<LineSink*>(target_)->Add(line);
    }
  }
  void AddAll(std::initializer_list<std::string_view> lines) {
    if (LineList* const* list = std::get_if<LineList*>(&target_)) {
      (*list)->insert((*list)->end(), lines.begin(), lines.end());
    } else {
      std::get<LineSink*>(target_)->AddAll(std::span(lines.begin(), lines.size()));
    }
  }
  // Lines already made into text, each followed by CR LF (LineOutput::AddEnded).
  void AddEnded(std::string_view text) {
    if (LineList* const* list = std::get_if<LineList*>(&target_)) {
      LineListOutput(**list).AddEnded(text);
    } else {
      std::get<LineSink*>(target_)->AddEnded(text);
    }
  }
  // Room for n more lines when they go to a list.
  void Reserve(std::size_t n) {
    if (LineList* const* lines = std::get_if<LineList*>(&target_)) (*lines)->reserve((*lines)->size() + n);
  }

 private:
  std::variant<LineList*, LineSink*> target_;
};

}  // namespace theolink
