#include "records/text_lines.h"

#include <algorithm>

namespace theolink {
namespace {

template <class Lines>
Lines Split(std::string_view bytes) {
  Lines lines;
  // Room for every line up front: growing a list of millions of lines copies it over and over.
  std::size_t breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (breaks == 0) breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
  lines.reserve(breaks + 1);
  std::size_t start = 0;
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(bytes.substr(start));
  return lines;
}

}  // namespace

LineList SplitTextLines(std::string_view bytes) { return Split<LineList>(bytes); }

LineViews SplitLineViews(std::string_view bytes) { return Split<LineViews>(bytes); }

}  // namespace theolink
