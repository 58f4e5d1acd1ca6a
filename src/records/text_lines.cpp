#include "records/text_lines.h"

namespace theolink {

LineList SplitTextLines(std::string_view bytes) {
  LineList lines;
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

}  // namespace theolink
