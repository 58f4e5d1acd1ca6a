#include "app/config_location.h"

#include <string_view>

#include "files/file_io.h"

namespace theolink {
namespace {

bool Exists(const std::string& path) { return PathExists(path); }

bool Writable(const std::string& path) { return IsWritable(path); }

// CMake puts the programs in <build>/bin beside <build>/CMakeCache.txt.
bool InBuildFolder(const std::string& folder) {
  return Exists(FolderOfPath(folder) + "/CMakeCache.txt");
}

// A program under /usr (or /bin), or in any prefix's bin/ beside share/theolink/, is
// installed: its folder is not the user's to write, whatever the permissions (root).
bool InstalledUnderPrefix(const std::string& folder) {
  for (const std::string_view system : {"/usr/", "/bin/", "/sbin/"}) {
    if ((folder + "/").starts_with(system)) return true;
  }
  const std::size_t slash = folder.rfind('/');
  const std::string_view name = slash == std::string::npos ? std::string_view(folder)
                                                           : std::string_view(folder).substr(slash + 1);
  return name == "bin" && Exists(FolderOfPath(folder) + "/share/theolink");
}

}  // namespace

std::string IniPathBesideExecutable(const std::string& executablePath) {
  const std::size_t slash = executablePath.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = executablePath.rfind('.');
  // A dot that starts the name (".hidden") is not an extension.
  if (dot != std::string::npos && dot > nameStart) return executablePath.substr(0, dot) + ".INI";
  return executablePath + ".INI";
}

std::string ProgramName(const std::string& executablePath) {
  const std::size_t slash = executablePath.rfind('/');
  std::string name = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? std::string("theolink") : name;
}

std::string UserIniPath(const std::string& executablePath, const ConfigEnvironment& environment) {
  std::string base;
  if (IsAbsolutePath(environment.xdgConfigHome)) {
    base = environment.xdgConfigHome;
  } else if (!environment.home.empty()) {
    base = environment.home + "/.config";
  } else {
    return {};
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/theolink/" + ProgramName(executablePath) + ".INI";
}

ConfigLocation ResolveConfigLocation(const std::string& executablePath,
                                     const ConfigEnvironment& environment) {
  const std::string user = UserIniPath(executablePath, environment);
  if (executablePath.empty()) return {user, user, true};
  const std::string beside = IniPathBesideExecutable(executablePath);
  const std::string folder = FolderOfPath(executablePath);
  const bool besideExists = Exists(beside);

  if (InBuildFolder(folder)) return {beside, beside, false};
  if (InstalledUnderPrefix(folder)) {
    // A file left beside an installed program only seeds the user's copy.
    if (besideExists && !Exists(user)) return {beside, user, true};
    return {user, user, true};
  }
  // A portable copy: the file beside the program is its settings.
  if (besideExists) {
    if (Writable(beside) || user.empty()) return {beside, beside, false};
    if (!Exists(user)) return {beside, user, true};
    return {user, user, true};
  }
  // Nowhere else to keep it: beside the program, if that folder takes it.
  if (user.empty()) return {beside, Writable(folder) ? beside : std::string(), false};
  return {user, user, true};
}

}  // namespace theolink
