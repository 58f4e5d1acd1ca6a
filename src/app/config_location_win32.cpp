// Where Windows keeps the user's folders and the running program.

// windows.h must come first.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <algorithm>

#include "app/config_location.h"
#include "files/wide_text.h"

namespace theolink {
namespace {

// The rest of the program separates folders with '/', which Windows takes as well.
std::string ForwardSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string result;
  if (::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) result = ForwardSlashes(WideToUtf8(path));
  ::CoTaskMemFree(path);
  return result;
}

}  // namespace

ConfigEnvironment ConfigEnvironment::FromProcess() {
  ConfigEnvironment environment;
  environment.xdgConfigHome = KnownFolder(FOLDERID_RoamingAppData);
  environment.home = KnownFolder(FOLDERID_Profile);
  return environment;
}

std::string RunningExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return ForwardSlashes(WideToUtf8(buffer));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace theolink
