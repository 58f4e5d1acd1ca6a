#include "records/binary_lines.h"

#include <bit>
#include <cstdint>

#include "records/value_forms.h"

namespace theolink {
namespace {

__extension__ typedef unsigned __int128 Uint128;

// "%.4f" of a finite value below 1e14 in magnitude, exact like the general formatter:
// the value is m * 2^e, so m * 10^4 * 2^e is rounded (ties to even) in integer arithmetic.
// Files hold hundreds of thousands of coordinates, and this is several times faster.
bool TryFastFixed4(double value, std::string& text) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponentBits = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  if (exponentBits == 0x7FF || !(value < 1e14 && value > -1e14)) return false;
  int exponent;  // value = mantissa * 2^exponent
  if (exponentBits == 0) {
    exponent = -1074;
  } else {
    mantissa |= std::uint64_t{1} << 52;
    exponent = exponentBits - 1075;
  }
  const Uint128 scaled = static_cast<Uint128>(mantissa) * 10000u;
  std::uint64_t units;  // value * 10^4, rounded
  if (exponent >= 0) {
    units = static_cast<std::uint64_t>(scaled << exponent);  // below 1e18 by the range check
  } else if (exponent > -120) {
    const int shift = -exponent;
    const Uint128 whole = scaled >> shift;
    const Uint128 rest = scaled - (whole << shift);
    const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
    units = static_cast<std::uint64_t>(whole);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  } else {
    units = 0;  // below 2^-66: far under half a unit
  }
  char buffer[32];
  char* end = buffer + sizeof buffer;
  char* p = end;
  for (int i = 0; i < 4; ++i) {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  }
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (negative) *--p = '-';
  text.assign(p, end);
  return true;
}

}  // namespace

std::string BinaryLine(std::string_view keyword, std::initializer_list<std::string_view> fields) {
  std::size_t size = 8 + fields.size();
  for (std::string_view f : fields) size += f.size();
  std::string line;
  line.reserve(size);
  line.append(keyword);
  if (line.size() < 8) line.append(8 - line.size(), ' ');
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) line.push_back(',');
    first = false;
    line.append(f);
  }
  return line;
}

std::string SecondsText(double arcSeconds) { return FormatAngle(arcSeconds / 3600.0, AngleSeconds); }

std::string MetreText(double metres) {
  std::string text;
  if (!TryFastFixed4(metres, text)) text = FormatDistance(metres, DistanceMetre);
  return text;
}

std::string LineSafeText(std::string_view text) {
  std::string safe(text);
  for (char& c : safe)
    if (c == '\r' || c == '\n') c = ' ';
  return safe;
}

std::string NameOrNoname(std::string_view text) {
  return text.empty() ? std::string("NONAME") : LineSafeText(text);
}

}  // namespace theolink
