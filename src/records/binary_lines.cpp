#include "records/binary_lines.h"

#include "records/value_forms.h"

namespace theolink {

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

std::string MetreText(double metres) { return FormatDistance(metres, DistanceMetre); }

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
