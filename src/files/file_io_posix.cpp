// The POSIX part of the file module.
#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "files/file_io_platform.h"

namespace theolink {
namespace {

FileFault KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileFault::None;
  if (S_ISDIR(mode)) return FileFault::Folder;
  if (S_ISFIFO(mode)) return FileFault::Fifo;
  if (S_ISSOCK(mode)) return FileFault::Socket;
  return FileFault::Device;
}

}  // namespace

namespace file_io_detail {

long ReadOnce(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return static_cast<long>(n);
  }
}

std::uint64_t OpenFileSize(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

int CreateNewFile(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

void KeepModeOf(int fd, const std::string& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return;
  ::fchmod(fd, old.st_mode & 07777);
  // chown clears the set-id bits, so the mode is given again after it.
  if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) == 0) ::fchmod(fd, old.st_mode & 07777);
}

FileStatus OpenedKind(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return FileStatus::FromErrno(errno);
  return FileStatus{KindOf(info.st_mode), 0};
}

// No retry on EINTR: on Linux the descriptor is closed whatever close reports.
int CloseFile(int fd) { return ::close(fd) == 0 ? 0 : errno; }

int OpenTruncated(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC); }

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void StartWriteBack(int fd, std::size_t offset, std::size_t size) {
  // A hint: a failure shows at the fsync.
  ::sync_file_range(fd, static_cast<off64_t>(offset), static_cast<off64_t>(size), SYNC_FILE_RANGE_WRITE);
}

void RemoveFileNow(const char* path) noexcept { ::unlink(path); }

int SyncToDisk(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int MoveOver(const std::string& temporary, const std::string& target) {
  if (::rename(temporary.c_str(), target.c_str()) != 0) return errno;
  // Make the rename itself durable.
  FileDescriptor folder(::open(FolderOfPath(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
  return 0;
}

}  // namespace file_io_detail

using namespace file_io_detail;

FileStatus OpenRegularFile(const std::string& path, FileDescriptor& fd) {
  // Non-blocking so that a FIFO in the file's place cannot hang the open; refused below.
  fd.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid()) return FileStatus::FromErrno(errno);
  if (const FileStatus kind = OpenedKind(fd.Get()); !kind.Ok()) {
    fd.Reset();
    return kind;
  }
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
  return {};
}

bool SeekToStart(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }

long long RegularFileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

std::string SaveTargetPath(const std::string& path) {
  std::string target = path;
  // Follow the chain of links by hand: the target may not exist yet (a dangling link names
  // the file to create), which realpath would refuse. 40 hops as the kernel allows.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    const std::string link = ReadLinkText(target);
    if (link.empty()) return target;
    target = link.front() == '/' ? link : FolderOfPath(target) + "/" + link;
  }
  return target;
}

FileStatus CheckSaveTarget(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return errno == ENOENT ? FileStatus{} : FileStatus::FromErrno(errno);
  }
  return FileStatus{KindOf(info.st_mode), 0};
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat x {}, y {};
  return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

FileStatus CheckFolderWritable(const std::string& path) {
  const std::string folder = FolderOfPath(SaveTargetPath(path));
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return FileStatus::FromErrno(errno);
  if (!S_ISDIR(info.st_mode)) return FileStatus::FromErrno(ENOTDIR);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return FileStatus::FromErrno(errno);
  return {};
}

bool MakeFolders(const std::string& folder, unsigned mode) {
  struct stat info {};
  if (folder.empty() || ::stat(folder.c_str(), &info) == 0) return !folder.empty() && S_ISDIR(info.st_mode);
  for (std::size_t at = folder.find('/', 1); ; at = folder.find('/', at + 1)) {
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
    if (at == std::string::npos) break;
  }
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsWritable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path.front() == '/'; }

std::string FolderOfPath(const std::string& path) {
  const std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

std::string NameOfPath(const std::string& path) {
  const std::size_t cut = path.rfind('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ReadLinkText(const std::string& path) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace theolink
