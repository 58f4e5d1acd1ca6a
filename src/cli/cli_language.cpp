#include "cli/cli_language.h"

#include <optional>

#include "app/config_file.h"
#include "app/language.h"
#include "app/language_choice.h"
#include "files/file_io.h"

namespace theolink::cli {
namespace {

// The cli keeps no settings of its own: it follows the window program installed beside it.
IniFile WindowConfiguration() {
  const std::string self = RunningExecutablePath();
  const std::string window = self.empty() ? std::string() : FolderOfPath(self) + "/theolink";
  return ConfigFile(window, ConfigEnvironment::FromProcess()).Read();
}

}  // namespace

bool ApplyLanguageOption(std::vector<std::string>& args, std::ostream& err) {
  std::optional<int> requested;
  for (std::size_t i = 0; i < args.size();) {
    std::string value;
    if (args[i] == "--lang") {
      if (i + 1 >= args.size()) {
        err << "option --lang needs a value\n";
        return false;
      }
      value = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else if (args[i].rfind("--lang=", 0) == 0) {
      value = args[i].substr(7);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
      continue;
    }
    requested = ParseLanguageName(value);
    if (!requested) {
      err << "--lang must be zh or en\n";
      return false;
    }
  }
  SetLanguage(requested ? *requested : ChooseLanguage(std::nullopt, WindowConfiguration(), LocaleNames::FromProcess()));
  return true;
}

}  // namespace theolink::cli
