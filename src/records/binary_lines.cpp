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

KeywordLineBuilder& KeywordLineBuilder::Start(std::string_view keyword) {
  line_.assign(keyword);
  if (line_.size() < 8) line_.append(8 - line_.size(), ' ');
  first_ = true;
  return *this;
}

void KeywordLineBuilder::Separate() {
  if (!first_) line_ += ',';
  first_ = false;
}

KeywordLineBuilder& KeywordLineBuilder::Text(std::string_view field) {
  Separate();
  line_ += field;
  return *this;
}

KeywordLineBuilder& KeywordLineBuilder::SafeText(std::string_view field) {
  Separate();
  for (char c : field) line_ += c == '\r' || c == '\n' ? ' ' : c;
  return *this;
}

KeywordLineBuilder& KeywordLineBuilder::Metres(double metres) {
  Separate();
  AppendDistance(line_, metres, DistanceMetre);
  return *this;
}

KeywordLineBuilder& KeywordLineBuilder::Seconds(double arcSeconds) {
  Separate();
  AppendAngle(line_, arcSeconds / 3600.0, AngleSeconds);
  return *this;
}

}  // namespace theolink
