#pragma once
// The language of the command line: asked for on the command line, else the Language of the
// window's configuration file, else the locale. Only reads; the window owns the file.
#include <optional>
#include <string_view>

#include "app/ini_file.h"
#include "app/settings_store.h"

namespace theolink {

// "zh" is Chinese (0), "en" English (1); anything else is not a language.
std::optional<int> ParseLanguageName(std::string_view name);

// requested when given; else Language of the file (other values than 0 and 1 read as 1);
// else 0 for a zh* locale and 1 otherwise.
int ChooseLanguage(std::optional<int> requested, const IniFile& config, const LocaleNames& locale);

}  // namespace theolink
