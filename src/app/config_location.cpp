#include "app/config_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "files/file_io.h"

namespace theolink {
namespace {

bool Exists(const std::string& path) { return PathExists(path); }

bool Writable(const std::string& path) { return IsWritable(path); }

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

ConfigEnvironment ConfigEnvironment::FromProcess() {
  ConfigEnvironment environment;
  environment.xdgConfigHome = EnvOrEmpty("XDG_CONFIG_HOME");
  environment.home = EnvOrEmpty("HOME");
  if (environment.home.empty()) {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
      environment.home = found->pw_dir;
    }
  }
  return environment;
}

std::string RunningExecutablePath() {
  std::string path = ReadLinkText("/proc/self/exe");
  // A program replaced while it runs (a package upgrade) reads as "<path> (deleted)"; its
  // settings still belong beside the path it was started from.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return path;
}

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
  if (!environment.xdgConfigHome.empty() && environment.xdgConfigHome[0] == '/') {
    base = environment.xdgConfigHome;
  } else if (!environment.home.empty()) {
    base = environment.home + "/.config";
  } else {
    return {};
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string name = ProgramName(executablePath);
  return base + "/" + name + "/" + name + ".INI";
}

ConfigLocation ResolveConfigLocation(const std::string& executablePath,
                                     const ConfigEnvironment& environment) {
  const std::string beside =
      executablePath.empty() ? std::string() : IniPathBesideExecutable(executablePath);
  const std::string user = UserIniPath(executablePath, environment);

  if (!beside.empty()) {
    const bool besideExists = Exists(beside);
    const bool besideUsable = besideExists ? Writable(beside) : Writable(ParentFolder(beside));
    if (besideUsable || user.empty()) return {beside, beside, false};
    // The beside-file stays the source until the user's own copy exists.
    if (!Exists(user) && besideExists) return {beside, user, true};
    return {user, user, true};
  }
  return {user, user, true};
}

}  // namespace theolink
