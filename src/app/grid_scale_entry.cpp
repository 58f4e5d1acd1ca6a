#include "app/grid_scale_entry.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "records/text_trim.h"

namespace theolink {
namespace {

std::string TwoDecimals(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text(buffer);
  // The C locale is not guaranteed here; the edit always shows a '.'.
  for (char& c : text)
    if (c == ',') c = '.';
  return text;
}

}  // namespace

GridScaleEntry CheckGridScale(std::string_view typed, double lastAccepted) {
  const std::string_view trimmed = Trim(typed);
  double x = 0;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, x);
  const bool isNumber = !trimmed.empty() && ec == std::errc() && end == last && std::isfinite(x);
  GridScaleEntry entry;
  if (isNumber && x >= 0.9 && x <= 1.1) {
    entry.accepted = true;
    entry.value = x;
    entry.text = TwoDecimals(x);
  } else {
    entry.value = lastAccepted;
    entry.text = TwoDecimals(lastAccepted);
  }
  return entry;
}

}  // namespace theolink
