#include "app/language_choice.h"

#include "app/language.h"

namespace theolink {

std::optional<int> ParseLanguageName(std::string_view name) {
  if (name == "zh") return kLanguageChinese;
  if (name == "en") return kLanguageEnglish;
  return std::nullopt;
}

int ChooseLanguage(std::optional<int> requested, const IniFile& config, const LocaleNames& locale) {
  if (requested) return *requested;
  return ReadLanguage(config, LanguageFromLocale(locale));
}

}  // namespace theolink
