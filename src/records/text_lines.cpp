#include "records/text_lines.h"

#include <algorithm>
#include <cstring>

namespace theolink {
namespace {

template <class Lines>
Lines Split(std::string_view bytes) {
  Lines lines;
  // Room for every line up front: growing a list of millions of lines copies it over and over.
  std::size_t breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (breaks == 0) breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
  lines.reserve(breaks + 1);
  // Line feeds are found with memchr, which scans many bytes at a time; carriage returns
  // are looked for only between two of them.
  const char* const data = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t start = 0;
  while (start < n) {
    const void* feed = std::memchr(data + start, '\n', n - start);
    const std::size_t lf = feed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(feed) - data) : n;
    bool crlf = false;  // the CR of a CR LF ended the last line before lf
    while (const void* ret = std::memchr(data + start, '\r', lf - start)) {
      const auto cr = static_cast<std::size_t>(static_cast<const char*>(ret) - data);
      lines.emplace_back(bytes.substr(start, cr - start));
      start = cr + 1;
      if (start == lf && lf < n) {
        crlf = true;
        break;
      }
    }
    if (crlf) {
      start = lf + 1;
    } else if (lf < n) {
      lines.emplace_back(bytes.substr(start, lf - start));
      start = lf + 1;
    } else {
      if (start < n) lines.emplace_back(bytes.substr(start));
      start = n;
    }
  }
  return lines;
}

}  // namespace

LineList SplitTextLines(std::string_view bytes) { return Split<LineList>(bytes); }

LineViews SplitLineViews(std::string_view bytes) { return Split<LineViews>(bytes); }

}  // namespace theolink
