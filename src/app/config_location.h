#pragma once
// Where the configuration file is read from and written to.
//
// Beside the executable, named after it with ".INI", when the program runs from its build
// folder or that file already exists there (a portable copy). Otherwise, and always for an
// installed program (under /usr, or in a prefix's bin/ beside share/theolink/, also run
// as root), in the user's folder: $XDG_CONFIG_HOME/theolink/<program>.INI, else
// ~/.config/theolink/<program>.INI. A beside-file that may not be written still supplies the
// settings until the first write creates the user's own copy from it.
#include <string>

namespace theolink {

// The parts of the environment that decide the user's configuration folder.
struct ConfigEnvironment {
  std::string xdgConfigHome;  // empty or relative: not used
  std::string home;

  // Taken from XDG_CONFIG_HOME and HOME (or the password database when HOME is unset); on
  // Windows the Roaming application data folder and the user's profile, with '/' separators.
  static ConfigEnvironment FromProcess();
};

struct ConfigLocation {
  std::string readPath;       // where the current settings are read
  std::string writePath;      // where a write puts the file (may differ from readPath once)
  bool inUserFolder = false;  // writePath is in the user's configuration folder
};

// The full path of the running executable (/proc/self/exe; on Windows the module's file
// name with '/' separators); empty when unknown.
std::string RunningExecutablePath();
// The executable's path with its extension replaced by ".INI" (appended when it has none).
std::string IniPathBesideExecutable(const std::string& executablePath);
// The executable's file name without extension ("theolink" when the path is empty).
std::string ProgramName(const std::string& executablePath);
// <config folder>/theolink/<program>.INI; empty when no folder can be determined.
std::string UserIniPath(const std::string& executablePath, const ConfigEnvironment& environment);

// Decides both paths by looking at the file system now; nothing is cached.
ConfigLocation ResolveConfigLocation(const std::string& executablePath,
                                     const ConfigEnvironment& environment);

}  // namespace theolink
