#include "records/value_forms.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace theolink {
namespace {

constexpr long double kUsFeetPerMetre = 3.280833333333333L;
constexpr long double kMetresPerUsFoot = 0.30480060960121924975L;
constexpr long double kIntFeetPerMetre = 3.280839895013122L;
constexpr long double kMetresPerIntFoot = 0.3048L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

__extension__ typedef unsigned __int128 Uint128;

// "%.4f" of a finite double below 1e14 in magnitude, exact like to_chars: the value is
// m * 2^e, so m * 10^4 * 2^e is rounded (ties to even) in integer arithmetic. Files hold
// hundreds of thousands of coordinates, and this is several times faster.
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

// Fixed notation through to_chars, which ignores the locale. A long double can need
// almost 5000 digits, so a small buffer is tried first.
std::string FixedText(long double value, int precision) {
  std::array<char, 96> small;
  // Both overloads round the exact binary value, so a value that a double holds exactly
  // takes the double one, which is many times faster.
  const bool fitsDouble = std::fabs(value) <= std::numeric_limits<double>::max();
  const double narrow = fitsDouble ? static_cast<double>(value) : 0.0;
  auto r = fitsDouble && static_cast<long double>(narrow) == value
               ? std::to_chars(small.data(), small.data() + small.size(), narrow, std::chars_format::fixed, precision)
               : std::to_chars(small.data(), small.data() + small.size(), value, std::chars_format::fixed, precision);
  if (r.ec == std::errc()) return std::string(small.data(), r.ptr);
  std::string big(5200, '\0');
  r = std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, precision);
  big.resize(r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - big.data()) : 0);
  return big;
}

std::string NonFiniteText(long double value) {
  if (std::isnan(value)) return "nan";
  return value < 0 ? "-inf" : "inf";
}

// Whole-number text of an integral long double.
std::string WholeText(long double whole) {
  if (whole == 0) return "0";  // no "-0" from a negative value that rounds to zero
  if (std::fabs(whole) < 9.0e18L) return std::to_string(static_cast<std::int64_t>(whole));
  return FixedText(whole, 0);
}

// Digits only, as the DMS reading takes its degree, minute and second parts.
bool TryParseDigits(std::string_view text, std::int64_t& value) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

[[noreturn]] void ThrowNotNumber(std::string_view text) {
  throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

double ParseDms(std::string_view text) {
  std::string t(text);
  bool negative = false;
  // One sign, "+" as well as "-", as a whole value takes it.
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    t.erase(0, 1);
  }
  const std::size_t p = t.find('.');
  if (p == std::string::npos) {
    const double v = ParseNumber(t);
    return negative ? -v : v;
  }
  std::size_t k = t.size() - p - 1;
  if (k < 4) {
    t += "0000";
    k = 4;
  }
  std::int64_t degrees = 0, minutes = 0, seconds = 0;
  const std::string_view view(t);
  const std::string_view secondDigits = view.substr(p + 3, k - 2);
  if (!TryParseDigits(view.substr(0, p), degrees) || !TryParseDigits(view.substr(p + 1, 2), minutes) ||
      !TryParseDigits(secondDigits, seconds))
    ThrowNotNumber(text);
  const long double divisor = std::pow(10.0L, static_cast<long double>(secondDigits.size() - 2));
  const long double value = static_cast<long double>(degrees) + static_cast<long double>(minutes) / 60.0L +
                            static_cast<long double>(seconds) / divisor / 3600.0L;
  return static_cast<double>(negative ? -value : value);
}

std::string FormatDms(double degrees) {
  if (std::isnan(degrees)) return NonFiniteText(degrees);
  const bool negative = !(degrees >= 0);
  const long double x = negative ? -static_cast<long double>(degrees) : degrees;
  if (std::isinf(x)) return NonFiniteText(negative ? -x : x);
  const long double s = std::trunc(x * 3600.0L + 0.5L);
  std::string text = negative ? "-" : "";
  long double rest;
  if (s < 9.0e18L) {
    const auto whole = static_cast<std::int64_t>(s);
    text += std::to_string(whole / 3600);
    rest = static_cast<long double>(whole % 3600);
  } else {
    rest = std::fmod(s, 3600.0L);
    text += FixedText(std::floor((s - rest) / 3600.0L), 0);
  }
  const int r = static_cast<int>(rest);
  const char minutes[2] = {static_cast<char>('0' + r / 60 / 10), static_cast<char>('0' + r / 60 % 10)};
  const char seconds[2] = {static_cast<char>('0' + r % 60 / 10), static_cast<char>('0' + r % 60 % 10)};
  text += '.';
  text.append(minutes, 2);
  text.append(seconds, 2);
  return text;
}

}  // namespace

bool TryParseNumber(std::string_view text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  const char* first = text.data() + start;
  const char* last = text.data() + n;
  double v = 0;
  auto r = std::from_chars(first, last, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero or a subnormal; overflow is refused below.
    long double wide = 0;
    r = std::from_chars(first, last, wide, std::chars_format::general);
    v = static_cast<double>(wide);
  }
  if (r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

double ParseNumber(std::string_view text) {
  double v = 0;
  if (!TryParseNumber(text, v)) ThrowNotNumber(text);
  return v;
}

std::string FormatFixed4(long double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const double narrow = std::fabs(value) < 1e14L ? static_cast<double>(value) : 0.0;
  std::string text;
  if (static_cast<long double>(narrow) == value && TryFastFixed4(narrow, text)) return text;
  return FixedText(value, 4);
}

std::string FormatRounded(long double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const long double whole = value >= 0 ? std::trunc(value + 0.5L) : -std::trunc(-value + 0.5L);
  return WholeText(whole);
}

std::string FormatAngle(double degrees, int form) {
  const long double x = degrees;
  switch (form) {
    case AngleGon: return FormatFixed4(x * 3600.0L / 3240.0L);
    case AngleMil: return FormatFixed4(x * 3600.0L / 202.5L);
    case AngleSeconds: return FormatRounded(x * 3600.0L);
    default: return FormatDms(degrees);
  }
}

double ParseAngle(std::string_view text, int form) {
  switch (form) {
    case AngleGon: return static_cast<double>(ParseNumber(text) * 3240.0L / 3600.0L);
    case AngleMil: return static_cast<double>(ParseNumber(text) * 202.5L / 3600.0L);
    case AngleSeconds: return static_cast<double>(ParseNumber(text) / 3600.0L);
    default: return ParseDms(text);
  }
}

std::string FormatDistance(double metres, int form) {
  const long double m = metres;
  switch (form) {
    case DistanceUsFoot: return FormatFixed4(m * kUsFeetPerMetre);
    case DistanceIntFoot: return FormatFixed4(m * kIntFeetPerMetre);
    default: return FormatFixed4(m);
  }
}

double ParseDistance(std::string_view text, int form) {
  const long double t = ParseNumber(text);
  switch (form) {
    case DistanceUsFoot: return static_cast<double>(t * kMetresPerUsFoot);
    case DistanceIntFoot: return static_cast<double>(t * kMetresPerIntFoot);
    default: return static_cast<double>(t);
  }
}

}  // namespace theolink
