// The Windows part of the file module: the C runtime's descriptors on wide-character paths,
// and ReplaceFileW / MoveFileExW for the atomic replace.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <algorithm>
#include <cstdint>

#include "files/file_io.h"
#include "files/file_io_platform.h"
#include "files/wide_text.h"

namespace theolink {
namespace {

using Stat = struct _stat64;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

std::wstring Wide(const std::string& path) { return Utf8ToWide(path); }

bool StatOf(const std::string& path, Stat& info) { return ::_wstat64(Wide(path).c_str(), &info) == 0; }

FileFault KindOf(unsigned short mode) {
  if ((mode & _S_IFMT) == _S_IFREG) return FileFault::None;
  if ((mode & _S_IFMT) == _S_IFDIR) return FileFault::Folder;
  if ((mode & _S_IFMT) == _S_IFIFO) return FileFault::Fifo;
  return FileFault::Device;
}

// The C runtime's errno for a Win32 code of a file call.
int ErrnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    default:
      return EIO;
  }
}

// A reserved device name (NUL, CON, COM1, ...) is a device wherever it stands.
bool IsDeviceName(const std::string& path) {
  const std::wstring wide = Wide(path);
  const HANDLE h = ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const DWORD type = ::GetFileType(h);
  ::CloseHandle(h);
  return type == FILE_TYPE_CHAR;
}

}  // namespace

namespace file_io_detail {

long ReadOnce(int fd, char* buffer, std::size_t size) {
  return ::_read(fd, buffer, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

std::uint64_t OpenFileSize(int fd) {
  Stat info{};
  return ::_fstat64(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

int CreateNewFile(const std::string& path) {
  return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

// ReplaceFileW gives the new file the old one's attributes and security itself.
void KeepModeOf(int, const std::string&) {}

FileStatus OpenedKind(int fd) {
  Stat info{};
  if (::_fstat64(fd, &info) != 0) return FileStatus::FromErrno(errno);
  return FileStatus{KindOf(info.st_mode), 0};
}

int CloseFile(int fd) { return ::_close(fd) == 0 ? 0 : errno; }

int OpenTruncated(const std::string& path) {
  return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY | _O_NOINHERIT);
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(data.size(), 1u << 30));
    const int n = ::_write(fd, data.data(), chunk);
    if (n < 0) return false;
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Windows has no call to start the write-back of a range; the flush at the end does it all.
void StartWriteBack(int, std::size_t, std::size_t) {}

void RemoveFileNow(const char* path) noexcept { ::DeleteFileW(Utf8ToWide(path).c_str()); }

int SyncToDisk(int fd) { return ::_commit(fd) == 0 ? 0 : errno; }

int MoveOver(const std::string& temporary, const std::string& target) {
  const std::wstring from = Utf8ToWide(temporary);
  const std::wstring to = Utf8ToWide(target);
  // ReplaceFileW keeps the old file's attributes and security; a new target is a move.
  bool moved = PathExists(target) && ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                                    nullptr, nullptr) != 0;
  if (!moved) moved = ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  return moved ? 0 : ErrnoOf(::GetLastError());
}

}  // namespace file_io_detail

using namespace file_io_detail;

FileStatus OpenRegularFile(const std::string& path, FileDescriptor& fd) {
  fd.Reset();
  // Devices first: opening COM1 or a pipe could wait for the other end.
  Stat info{};
  if (StatOf(path, info) && KindOf(info.st_mode) != FileFault::None) return FileStatus{KindOf(info.st_mode), 0};
  if (IsDeviceName(path)) return FileStatus{FileFault::Device, 0};
  fd.Reset(::_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
  if (!fd.Valid()) return FileStatus::FromErrno(errno);
  if (const FileStatus kind = OpenedKind(fd.Get()); !kind.Ok()) {
    fd.Reset();
    return kind;
  }
  return {};
}

bool SeekToStart(int fd) { return ::_lseeki64(fd, 0, SEEK_SET) == 0; }

long long RegularFileSize(const std::string& path) {
  Stat info{};
  if (!StatOf(path, info) || KindOf(info.st_mode) != FileFault::None) return -1;
  return static_cast<long long>(info.st_size);
}

// ReplaceFileW keeps the target's own attributes and security; the path itself is replaced.
std::string SaveTargetPath(const std::string& path) { return path; }

FileStatus CheckSaveTarget(const std::string& path) {
  Stat info{};
  if (!StatOf(path, info)) {
    if (IsDeviceName(path)) return FileStatus{FileFault::Device, 0};
    return errno == ENOENT ? FileStatus{} : FileStatus::FromErrno(errno);
  }
  return FileStatus{KindOf(info.st_mode), 0};
}

bool SameFile(const std::string& a, const std::string& b) {
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool PathExists(const std::string& path) { return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

FileStatus CheckFolderWritable(const std::string& path) {
  const std::string folder = FolderOfPath(path);
  const DWORD attributes = ::GetFileAttributesW(Wide(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileStatus::FromErrno(ErrnoOf(::GetLastError()));
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return FileStatus::FromErrno(ENOTDIR);
  return {};
}

bool MakeFolders(const std::string& folder, unsigned) {
  if (folder.empty()) return false;
  auto isFolder = [](const std::string& path) {
    const DWORD a = ::GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
  };
  if (isFolder(folder)) return true;
  // A drive ("C:") or a root is there already; the folders below it are made in turn.
  const std::size_t first = folder.size() >= 2 && folder[1] == ':' ? 3 : 1;
  for (std::size_t at = first; at <= folder.size(); ++at) {
    if (at != folder.size() && !IsSeparator(folder[at])) continue;
    const std::string part = folder.substr(0, at);
    if (!::CreateDirectoryW(Wide(part).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return isFolder(folder);
}

bool IsWritable(const std::string& path) { return ::_waccess(Wide(path).c_str(), 2) == 0; }

bool IsAbsolutePath(const std::string& path) {
  if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) return true;
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);  // \\server\share
}

std::string FolderOfPath(const std::string& path) {
  const std::size_t cut = LastSeparator(path);
  if (cut == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + "." : ".";
  // "/x" and "C:/x" live in a root, which keeps its separator.
  if (cut == 0 || (cut == 2 && path[1] == ':')) return path.substr(0, cut + 1);
  return path.substr(0, cut);
}

std::string NameOfPath(const std::string& path) {
  const std::size_t cut = LastSeparator(path);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Windows programs find themselves with GetModuleFileNameW, not through a link.
std::string ReadLinkText(const std::string&) { return {}; }

}  // namespace theolink
