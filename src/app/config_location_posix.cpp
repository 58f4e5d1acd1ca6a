// Where a POSIX system keeps the user's folders and the running program.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/config_location.h"
#include "files/file_io.h"

namespace theolink {
namespace {

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

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

}  // namespace theolink
