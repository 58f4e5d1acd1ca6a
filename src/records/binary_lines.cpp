#include "records/binary_lines.h"

#include "records/default_names.h"
#include "records/value_forms.h"

namespace theolink {

std::string SecondsText(double arcSeconds) { return FormatAngle(arcSeconds / 3600.0, AngleSeconds); }

std::string MetreText(double metres) { return FormatDistance(metres, DistanceMetre); }

std::string LineSafeText(std::string_view text) {
  std::string safe(text);
  for (char& c : safe)
    if (c == '\r' || c == '\n') c = ' ';
  return safe;
}

std::string NameOrNoname(std::string_view text) {
  return text.empty() ? std::string(kNoName) : LineSafeText(text);
}

}  // namespace theolink
