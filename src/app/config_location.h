#pragma once
// Where the configuration file is read from and written to.
//
// The file sits beside the executable, named after it with ".INI". When that folder and
// file cannot be written (an installed program), it lives in the user's configuration
// folder instead: $XDG_CONFIG_HOME/<program>/<program>.INI, else ~/.config/<program>/...
// A beside-file that exists but cannot be written still supplies the settings until the
// first write creates the user's own copy from it.
#include <string>

namespace theolink {

// The parts of the environment that decide the user's configuration folder.
struct ConfigEnvironment {
  std::string xdgConfigHome;  // empty or relative: not used
  std::string home;

  // Taken from XDG_CONFIG_HOME and HOME (or the password database when HOME is unset).
  static ConfigEnvironment FromProcess();
};

struct ConfigLocation {
  std::string readPath;       // where the current settings are read
  std::string writePath;      // where a write puts the file (may differ from readPath once)
  bool inUserFolder = false;  // writePath is in the user's configuration folder
};

// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string ParentFolder(const std::string& path);
// The full path of the running executable (/proc/self/exe); empty when unknown.
std::string RunningExecutablePath();
// The executable's path with its extension replaced by ".INI" (appended when it has none).
std::string IniPathBesideExecutable(const std::string& executablePath);
// The executable's file name without extension ("theolink" when the path is empty).
std::string ProgramName(const std::string& executablePath);
// <config folder>/<program>/<program>.INI; empty when no folder can be determined.
std::string UserIniPath(const std::string& executablePath, const ConfigEnvironment& environment);

// Decides both paths by looking at the file system now; nothing is cached.
ConfigLocation ResolveConfigLocation(const std::string& executablePath,
                                     const ConfigEnvironment& environment);

}  // namespace theolink
