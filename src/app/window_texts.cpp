#include "app/window_texts.h"

#include <cstdio>

#include "app/language.h"
#include "app/text_table.h"
#include "files/data_views.h"

namespace theolink {

std::string DocumentTitle(std::string_view fileName, bool modified, int language) {
  if (fileName.empty()) return WindowTitle(language);
  std::string title(fileName);
  if (modified) title += '*';
  return title + " - " + WindowTitle(language);
}

std::vector<std::string> GridHeaderTexts(DataKind dataKind, const Settings& settings, int language,
                                         std::string_view between) {
  static constexpr TextId kUnits[] = {TextId::HeaderUnitMetre, TextId::HeaderUnitUsFoot, TextId::HeaderUnitFoot};
  // The index the value forms read: anything else is metres.
  const int unit = DistanceFormCode(settings) - 1;
  const std::string_view mark = PickText(kUnits[unit >= 0 && unit < 3 ? unit : 0], language);
  std::vector<std::string> texts;
  for (TextId id : GridHeaderIds(dataKind, settings)) {
    std::string text(PickText(id, language));
    if (id == TextId::HeaderNorth || id == TextId::HeaderEast || id == TextId::HeaderElevation)
      text.append(between).append(mark);
    texts.push_back(std::move(text));
  }
  return texts;
}

std::string CountText(std::uint64_t count, int language) {
  const std::string digits = std::to_string(count);
  if (language == kLanguageChinese) return digits;
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

std::string ElapsedText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[48];
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  if (h > 0) std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
  else std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
  return text;
}

std::string TransferProgressText(std::uint64_t bytes, std::uint64_t lines, std::int64_t seconds, int language) {
  return FillText(PickText(TextId::TransferProgress, language),
                  {CountText(bytes, language), CountText(lines, language), ElapsedText(seconds)});
}

}  // namespace theolink
