#pragma once
// Trimming as the instrument text defines it: every byte of code 0 to 32 is blank.
#include <string_view>

namespace theolink {

constexpr bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes blank bytes at both ends.
constexpr std::string_view Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlankByte(text[b])) ++b;
  while (e > b && IsBlankByte(text[e - 1])) --e;
  return text.substr(b, e - b);
}

// Removes blank bytes at the end only.
constexpr std::string_view TrimEnd(std::string_view text) {
  std::size_t e = text.size();
  while (e > 0 && IsBlankByte(text[e - 1])) --e;
  return text.substr(0, e);
}

// The keyword of a keyword line: its first 8 characters with trailing blanks removed.
constexpr std::string_view LineKeyword(std::string_view line) { return TrimEnd(line.substr(0, 8)); }

}  // namespace theolink
