#include "app/config_file.h"

#include "files/file_io.h"

#include <utility>

namespace theolink {

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
  if (location.inUserFolder && !MakeFolders(FolderOfPath(location.writePath), 0700)) return false;
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

FormGeometry LoadFormGeometry(const ConfigFile& config) { return ReadFormGeometry(config.Read()); }

bool StoreFormGeometry(const ConfigFile& config, const FormGeometry& geometry) {
  IniFile ini = config.Read();
  WriteFormGeometry(ini, geometry);
  return config.Write(ini);
}

}  // namespace theolink
