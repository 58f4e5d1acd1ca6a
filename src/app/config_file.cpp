#include "app/config_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace theolink {
namespace {

// mkdir -p for the user's configuration folder; private to the user as is usual there.
bool MakeFolders(const std::string& folder) {
  struct stat info {};
  if (folder.empty() || ::stat(folder.c_str(), &info) == 0) return true;
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

ConfigFile::ConfigFile(std::string executablePath, ConfigEnvironment environment)
    : executablePath_(std::move(executablePath)), environment_(std::move(environment)) {}

ConfigFile ConfigFile::ForRunningProgram() {
  return ConfigFile(RunningExecutablePath(), ConfigEnvironment::FromProcess());
}

ConfigLocation ConfigFile::Location() const {
  return ResolveConfigLocation(executablePath_, environment_);
}

IniFile ConfigFile::Read() const {
  const ConfigLocation location = Location();
  return location.readPath.empty() ? IniFile() : IniFile::Load(location.readPath);
}

bool ConfigFile::Write(const IniFile& ini) const {
  const ConfigLocation location = Location();
  if (location.writePath.empty()) return false;
  // Only the user's folder is ours to create; the executable's folder must exist.
  if (location.inUserFolder && !MakeFolders(ParentFolder(location.writePath))) return false;
  return ini.Save(location.writePath);
}

int StartLanguage(const ConfigFile& config, const LocaleNames& locale) {
  IniFile ini = config.Read();
  const int language = ReadLanguage(ini, LanguageFromLocale(locale));
  WriteLanguage(ini, language);
  config.Write(ini);
  return language;
}

Settings LoadCurrentSettings(const ConfigFile& config) { return LoadSettings(config.Read()); }

bool ConfirmSettings(const ConfigFile& config, const Settings& settings) {
  IniFile ini = config.Read();
  SaveSettings(ini, settings);
  return config.Write(ini);
}

FormPositions LoadFormPositions(const ConfigFile& config) {
  return ReadFormPositions(config.Read());
}

bool StoreFormPositions(const ConfigFile& config, const FormPositions& positions) {
  IniFile ini = config.Read();
  WriteFormPositions(ini, positions);
  return config.Write(ini);
}

}  // namespace theolink
