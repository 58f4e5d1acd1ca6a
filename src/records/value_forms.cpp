#include "records/value_forms.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace theolink {
namespace {

constexpr long double kUsFeetPerMetre = 3.280833333333333L;
constexpr long double kMetresPerUsFoot = 0.30480060960121924975L;
constexpr long double kIntFeetPerMetre = 3.280839895013122L;
constexpr long double kMetresPerIntFoot = 0.3048L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

__extension__ typedef unsigned __int128 Uint128;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void PutPair(char* at, unsigned pair) { std::memcpy(at, kDigitPairs + 2 * pair, 2); }

// Writes the decimal digits of v so that they end at end; returns where they start.
char* DigitsBefore(char* end, std::uint64_t v) {
  char* p = end;
  while (v >= 100) {
    p -= 2;
    PutPair(p, static_cast<unsigned>(v % 100));
    v /= 100;
  }
  if (v >= 10) {
    p -= 2;
    PutPair(p, static_cast<unsigned>(v));
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return p;
}

// "%.4f" of a finite double below 1e14 in magnitude, exact like to_chars: the value is
// m * 2^e, so m * 10^4 * 2^e is rounded (ties to even) in integer arithmetic. Files hold
// hundreds of thousands of coordinates, and this is several times faster.
bool TryFastFixed4(double value, std::string& out) {
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
  const auto fraction = static_cast<unsigned>(units % 10000);
  PutPair(end - 4, fraction / 100);
  PutPair(end - 2, fraction % 100);
  char* p = end - 5;
  *p = '.';
  p = DigitsBefore(p, units / 10000);
  if (negative) *--p = '-';
  out.append(p, end);
  return true;
}

// Fixed notation through to_chars, which ignores the locale. A long double can need
// almost 5000 digits, so a small buffer is tried first.
// A Format function from its Append twin: the text in a string of its own.
template <auto Append, class... Values>
std::string Formatted(Values... values) {
  std::string text;
  Append(text, values...);
  return text;
}

void AppendFixedText(std::string& out, long double value, int precision) {
  std::array<char, 96> small;
  // Both overloads round the exact binary value, so a value that a double holds exactly
  // takes the double one, which is many times faster.
  const bool fitsDouble = std::fabs(value) <= std::numeric_limits<double>::max();
  const double narrow = fitsDouble ? static_cast<double>(value) : 0.0;
  auto r = fitsDouble && static_cast<long double>(narrow) == value
               ? std::to_chars(small.data(), small.data() + small.size(), narrow, std::chars_format::fixed, precision)
               : std::to_chars(small.data(), small.data() + small.size(), value, std::chars_format::fixed, precision);
  if (r.ec == std::errc()) {
    out.append(small.data(), r.ptr);
    return;
  }
  std::string big(5200, '\0');
  r = std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, precision);
  if (r.ec == std::errc()) out.append(big.data(), r.ptr);
}

void AppendNonFinite(std::string& out, long double value) {
  if (std::isnan(value)) {
    out += "nan";
  } else {
    out += value < 0 ? "-inf" : "inf";
  }
}

void AppendInteger(std::string& out, std::int64_t value) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  char* p = DigitsBefore(end, magnitude);
  if (value < 0) *--p = '-';
  out.append(p, end);
}

// Whole-number text of an integral long double.
void AppendWhole(std::string& out, long double whole) {
  if (whole == 0) {
    out += '0';  // no "-0" from a negative value that rounds to zero
  } else if (std::fabs(whole) < 9.0e18L) {
    AppendInteger(out, static_cast<std::int64_t>(whole));
  } else {
    AppendFixedText(out, whole, 0);
  }
}

// A metre value as FormatFixed4 writes it, without the long double steps when the value
// fits the exact integer path.
void AppendMetres(std::string& out, double value) {
  if (!TryFastFixed4(value, out)) AppendFixed4(out, value);
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

void AppendDms(std::string& out, double degrees) {
  if (std::isnan(degrees)) return AppendNonFinite(out, degrees);
  const bool negative = !(degrees >= 0);
  const long double x = negative ? -static_cast<long double>(degrees) : degrees;
  if (std::isinf(x)) return AppendNonFinite(out, negative ? -x : x);
  if (negative) out += '-';
  const long double halfUp = x * 3600.0L + 0.5L;  // whole seconds, rounded half up
  int rest;
  if (halfUp < 9.0e18L) {
    const auto whole = static_cast<std::int64_t>(halfUp);  // truncates like trunc: halfUp > 0
    AppendInteger(out, whole / 3600);
    rest = static_cast<int>(whole % 3600);
  } else {
    const long double s = std::trunc(halfUp);
    const long double r = std::fmod(s, 3600.0L);
    AppendFixedText(out, std::floor((s - r) / 3600.0L), 0);
    rest = static_cast<int>(r);
  }
  char tail[5] = {'.'};
  PutPair(tail + 1, static_cast<unsigned>(rest / 60));
  PutPair(tail + 3, static_cast<unsigned>(rest % 60));
  out.append(tail, sizeof tail);
}

}  // namespace

bool TryParseNumber(std::string_view text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  std::size_t digits = 0, fractionDigits = 0;
  std::uint64_t whole = 0;  // the digits without the point; wraps when too long, then unused
  for (; i < n && IsDigit(text[i]); ++i, ++digits) whole = whole * 10 + static_cast<unsigned>(text[i] - '0');
  if (i < n && text[i] == '.') {
    ++i;
    for (; i < n && IsDigit(text[i]); ++i, ++digits, ++fractionDigits)
      whole = whole * 10 + static_cast<unsigned>(text[i] - '0');
  }
  if (digits == 0) return false;
  bool exponent = false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    exponent = true;
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  if (!exponent && digits <= 15) {
    // Up to 15 digits are a whole number below 2^53 over a power of ten up to 10^15, both
    // exact in a double, so one division rounds once: the double from_chars gives.
    const double v = static_cast<double>(whole) / kPowersOfTen[fractionDigits];
    value = negative ? -v : v;
    return true;
  }
  const char* first = text.data() + start;
  const char* last = text.data() + n;
  double v = 0;
  auto r = std::from_chars(first, last, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero or a subnormal; overflow is refused below.
    long double wide = 0;
    r = std::from_chars(first, last, wide, std::chars_format::general);
    v = static_cast<double>(wide);
    // Where the long double parser is no wider (MinGW), a number too small for it is
    // still out of range: it reads as zero all the same.
    const std::size_t e = text.find_first_of("eE");
    if (r.ec == std::errc::result_out_of_range && e != std::string_view::npos && e + 1 < n && text[e + 1] == '-') {
      r.ec = std::errc();
      v = 0;
    }
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

void AppendFixed4(std::string& out, long double value) {
  if (!std::isfinite(value)) return AppendNonFinite(out, value);
  const double narrow = std::fabs(value) < 1e14L ? static_cast<double>(value) : 0.0;
  if (static_cast<long double>(narrow) == value && TryFastFixed4(narrow, out)) return;
  AppendFixedText(out, value, 4);
}

std::string FormatFixed4(long double value) { return Formatted<AppendFixed4>(value); }

namespace {

void AppendRounded(std::string& out, long double value) {
  if (!std::isfinite(value)) return AppendNonFinite(out, value);
  const long double whole = value >= 0 ? std::trunc(value + 0.5L) : -std::trunc(-value + 0.5L);
  AppendWhole(out, whole);
}

}  // namespace

std::string FormatRounded(long double value) { return Formatted<AppendRounded>(value); }

void AppendAngle(std::string& out, double degrees, int form) {
  const long double x = degrees;
  switch (form) {
    case AngleGon: return AppendFixed4(out, x * 3600.0L / 3240.0L);
    case AngleMil: return AppendFixed4(out, x * 3600.0L / 202.5L);
    case AngleSeconds: return AppendRounded(out, x * 3600.0L);
    default: return AppendDms(out, degrees);
  }
}

std::string FormatAngle(double degrees, int form) { return Formatted<AppendAngle>(degrees, form); }

double ParseAngle(std::string_view text, int form) {
  switch (form) {
    case AngleGon: return static_cast<double>(ParseNumber(text) * 3240.0L / 3600.0L);
    case AngleMil: return static_cast<double>(ParseNumber(text) * 202.5L / 3600.0L);
    case AngleSeconds: return static_cast<double>(ParseNumber(text) / 3600.0L);
    default: return ParseDms(text);
  }
}

void AppendDistance(std::string& out, double metres, int form) {
  const long double m = metres;
  switch (form) {
    case DistanceUsFoot: return AppendFixed4(out, m * kUsFeetPerMetre);
    case DistanceIntFoot: return AppendFixed4(out, m * kIntFeetPerMetre);
    default: return AppendMetres(out, metres);
  }
}

std::string FormatDistance(double metres, int form) { return Formatted<AppendDistance>(metres, form); }

double ParseDistance(std::string_view text, int form) {
  const long double t = ParseNumber(text);
  switch (form) {
    case DistanceUsFoot: return static_cast<double>(t * kMetresPerUsFoot);
    case DistanceIntFoot: return static_cast<double>(t * kMetresPerIntFoot);
    default: return static_cast<double>(t);
  }
}

std::string WithoutNegativeZero(std::string text) {
  if (text.empty() || text[0] != '-') return text;
  bool zero = false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != '0' && text[i] != '.') return text;  // a digit that is not 0, or "-inf"
    zero = zero || text[i] == '0';
  }
  if (zero) text.erase(0, 1);
  return text;
}

}  // namespace theolink
