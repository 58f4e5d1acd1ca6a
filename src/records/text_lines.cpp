#include "records/text_lines.h"

#include <cstdint>
#include <cstring>

namespace theolink {
namespace {

// How often c occurs in bytes, eight bytes at a time: a byte-by-byte count takes as long
// as cutting the lines themselves.
std::size_t CountByte(std::string_view bytes, char c) {
  constexpr std::uint64_t kOnes = 0x0101010101010101, kLow7 = 0x7F7F7F7F7F7F7F7F;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  std::size_t count = 0, i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    const std::uint64_t x = word ^ pattern;  // a zero byte where c stands
    const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 in each
    count += static_cast<std::size_t>(((zero >> 7) * kOnes) >> 56);
  }
  for (; i < bytes.size(); ++i) count += bytes[i] == c ? 1 : 0;
  return count;
}

template <class Lines>
Lines Split(std::string_view bytes) {
  Lines lines;
  // Room for every line up front: growing a list of millions of lines copies it over and over.
  std::size_t breaks = CountByte(bytes, '\n');
  if (breaks == 0) breaks = CountByte(bytes, '\r');
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
