#pragma once
// What the window takes from its surroundings: where it runs (the configuration and help
// files sit beside the executable), the locale of a first start, the dialogs and the
// port list. Tests give their own.
#include <string>

#include "app/config_location.h"
#include "app/settings_store.h"
#include "serial/com_select.h"

namespace theolink {

class Dialogs;

struct WindowContext {
  std::string executablePath;
  ConfigEnvironment environment;
  LocaleNames locale;
  Dialogs* dialogs = nullptr;
  TComSelect::PortLister portLister;  // empty: the ports present
  std::string rawCopyFolder;          // where every receive keeps its raw copy; empty: none
};

}  // namespace theolink
