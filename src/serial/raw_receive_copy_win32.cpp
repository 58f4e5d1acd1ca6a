// The raw copy's Windows part: Win32 file calls, so failures carry the system's codes and
// texts. windows.h must come first.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "files/file_io.h"
#include "files/wide_text.h"
#include "serial/raw_receive_copy.h"
#include "serial/raw_receive_copy_platform.h"

namespace theolink {

namespace raw_copy_detail {
namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

}  // namespace

int NameTakenCode() { return ERROR_FILE_EXISTS; }

int MakeCopyFolder(const std::string& folder) {
  return MakeFolders(folder, 0700) ? 0 : static_cast<int>(::GetLastError());
}

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  ::localtime_s(&local, &moment);
  return local;
}

int CreateNewCopy(const std::string& path, int& fd) {
  const HANDLE h = ::CreateFileW(Utf8ToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return static_cast<int>(error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error);
  }
  fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_APPEND | _O_BINARY);
  if (fd >= 0) return 0;
  ::CloseHandle(h);
  return ERROR_TOO_MANY_OPEN_FILES;
}

int WriteToCopy(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!::WriteFile(HandleOf(fd), bytes.data(), chunk, &n, nullptr) || n == 0)
      return static_cast<int>(n == 0 && ::GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : ::GetLastError());
    bytes.remove_prefix(n);
  }
  return 0;
}

int FlushAndClose(int fd) {
  const int e = ::FlushFileBuffers(HandleOf(fd)) ? 0 : static_cast<int>(::GetLastError());
  ::_close(fd);
  return e;
}

}  // namespace raw_copy_detail

std::string DefaultRawCopyFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = WideToUtf8(path);
  ::CoTaskMemFree(path);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  return (folder.empty() ? std::string(".") : folder) + "/theolink/received";
}

}  // namespace theolink
