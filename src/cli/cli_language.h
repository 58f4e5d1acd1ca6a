#pragma once
// The language theolink-cli speaks: --lang zh|en, else Language of the window's
// configuration file, else the locale. The texts come from the window's table, in UTF-8.
#include <ostream>
#include <string>
#include <vector>

namespace theolink::cli {

// Takes every "--lang X" and "--lang=X" out of args and sets the program language. On a
// value other than zh or en writes why to err and returns false.
bool ApplyLanguageOption(std::vector<std::string>& args, std::ostream& err);

}  // namespace theolink::cli
