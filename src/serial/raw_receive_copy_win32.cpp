// The raw copy on Windows: Win32 file calls, so failures carry the system's codes and texts.
// windows.h must come first.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <ctime>
#include <utility>

#include "files/file_io.h"
#include "files/wide_text.h"
#include "serial/com_error.h"
#include "serial/raw_receive_copy.h"

namespace theolink {

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

std::string LocalStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_s(&local, &now);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &local);
  return text;
}

}  // namespace

std::string DefaultRawCopyFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = WideToUtf8(path);
  ::CoTaskMemFree(path);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  return (folder.empty() ? std::string(".") : folder) + "/theolink/received";
}

RawReceiveCopy::RawReceiveCopy(std::string folder) : folder_(std::move(folder)) {}

RawReceiveCopy::~RawReceiveCopy() { End(); }

void RawReceiveCopy::Begin() {
  End();
  path_.clear();
  error_.clear();
}

bool RawReceiveCopy::Create() {
  if (!MakeFolders(folder_, 0700)) {
    error_ = folder_ + ": " + OsErrorText(static_cast<int>(::GetLastError()));
    return false;
  }
  const std::string stamp = folder_ + "/" + LocalStamp();
  for (int n = 1; n < 1000; ++n) {
    const std::string path = stamp + (n == 1 ? "" : "-" + std::to_string(n)) + ".txt";
    const HANDLE h = ::CreateFileW(Utf8ToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_APPEND | _O_BINARY);
      if (fd_ < 0) {
        ::CloseHandle(h);
        error_ = path + ": " + OsErrorText(ERROR_TOO_MANY_OPEN_FILES);
        return false;
      }
      path_ = path;
      return true;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      error_ = path + ": " + OsErrorText(static_cast<int>(error));
      return false;
    }
  }
  error_ = stamp + ".txt: " + OsErrorText(ERROR_FILE_EXISTS);
  return false;
}

void RawReceiveCopy::Append(std::string_view bytes) {
  if (bytes.empty() || !error_.empty()) return;
  if (fd_ < 0 && (!path_.empty() || !Create())) return;
  // Straight to the system, no buffer of our own: a killed program keeps every byte written.
  while (!bytes.empty()) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!::WriteFile(HandleOf(fd_), bytes.data(), chunk, &n, nullptr) || n == 0) {
      const DWORD error = n == 0 && ::GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : ::GetLastError();
      error_ = path_ + ": " + OsErrorText(static_cast<int>(error));
      End();
      return;
    }
    bytes.remove_prefix(n);
  }
}

void RawReceiveCopy::End() {
  if (fd_ < 0) return;
  // The copy is worth its place on disk; a failure here is only kept, never raised.
  if (!::FlushFileBuffers(HandleOf(fd_)) && error_.empty())
    error_ = path_ + ": " + OsErrorText(static_cast<int>(::GetLastError()));
  ::_close(fd_);
  fd_ = -1;
}

}  // namespace theolink
