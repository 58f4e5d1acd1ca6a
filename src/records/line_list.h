#pragma once
// Every file and every transfer is an ordered list of 8-bit text lines, kept as bytes.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace theolink {

using LineList = std::vector<std::string>;

// Lines as views into one buffer that outlives them: a file read whole, cut without copies.
using LineViews = std::vector<std::string_view>;

// What the readers of lines take besides a LineList. A type of its own, made only from
// LineViews, so that a braced list of texts still means a LineList.
struct LineSpan : std::span<const std::string_view> {
  LineSpan(const LineViews& lines) : span(lines) {}  // NOLINT(google-explicit-constructor)
};

// Views of the lines of a list (valid while the list is unchanged).
inline LineViews ViewsOf(const LineList& lines) { return LineViews(lines.begin(), lines.end()); }

}  // namespace theolink
