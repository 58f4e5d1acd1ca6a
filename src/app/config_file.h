#pragma once
// The configuration file as its users see it: each use opens the file, reads or changes
// the keys it needs and closes it again; nothing is cached between uses.
#include <string>

#include "app/config_location.h"
#include "app/ini_file.h"
#include "app/settings_store.h"
#include "records/settings.h"

namespace theolink {

class ConfigFile {
 public:
  ConfigFile(std::string executablePath, ConfigEnvironment environment);
  // The file of the running program in the process's environment.
  static ConfigFile ForRunningProgram();

  // Where the file is read and written at this moment.
  ConfigLocation Location() const;
  // The file's content now; empty when missing or unreadable.
  IniFile Read() const;
  // Writes the whole file where writes go, creating the user's folder when needed.
  // False when it could not be written; the old file is then unchanged.
  bool Write(const IniFile& ini) const;

 private:
  std::string executablePath_;
  ConfigEnvironment environment_;
};

// Window creation: reads Language (first start: from the locale), clamps it, writes it
// back so the key exists after every start, and returns it.
int StartLanguage(const ConfigFile& config, const LocaleNames& locale);
// Program start: the current settings with the range rules applied.
Settings LoadCurrentSettings(const ConfigFile& config);
// The settings dialog's Confirm. False when the file could not be written.
bool ConfirmSettings(const ConfigFile& config, const Settings& settings);
// Window creation and close: the port and baud box positions.
FormPositions LoadFormPositions(const ConfigFile& config);
bool StoreFormPositions(const ConfigFile& config, const FormPositions& positions);
// Window creation and close: where the window was.
FormGeometry LoadFormGeometry(const ConfigFile& config);
bool StoreFormGeometry(const ConfigFile& config, const FormGeometry& geometry);

}  // namespace theolink
