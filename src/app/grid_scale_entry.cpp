#include "app/grid_scale_entry.h"

#include <array>
#include <charconv>
#include <cmath>

#include "records/text_trim.h"

namespace theolink {
namespace {

constexpr int kMostDecimals = 6;

std::optional<double> TypedNumber(std::string_view typed) {
  const std::string_view trimmed = Trim(typed);
  double x = 0;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, x);
  if (trimmed.empty() || ec != std::errc() || end != last || !std::isfinite(x)) return std::nullopt;
  return x;
}

}  // namespace

std::optional<std::string> KeptGridScaleText(double value) {
  if (!(value >= 0.9 && value <= 1.1)) return std::nullopt;
  std::array<char, 32> buffer;
  const auto written =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, kMostDecimals);
  // The six-decimal text must read back as the very same number, or it was rounded.
  double back = 0;
  std::from_chars(buffer.data(), written.ptr, back);
  if (back != value) return std::nullopt;
  std::string text(buffer.data(), written.ptr);
  const std::size_t twoDecimals = text.find('.') + 3;
  while (text.size() > twoDecimals && text.back() == '0') text.pop_back();
  return text;
}

GridScaleEntry CheckGridScale(std::string_view typed, double lastAccepted) {
  GridScaleEntry entry;
  const std::optional<double> x = TypedNumber(typed);
  if (x) {
    if (const auto kept = KeptGridScaleText(*x)) {
      entry.accepted = true;
      entry.value = *x;
      entry.text = *kept;
      return entry;
    }
    if (*x >= 0.9 && *x <= 1.1) entry.refusal = TextId::GridScaleDecimals;
  }
  const std::optional<std::string> kept = KeptGridScaleText(lastAccepted);
  entry.value = kept ? lastAccepted : 1.0;
  entry.text = kept ? *kept : "1.00";
  return entry;
}

}  // namespace theolink
