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

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
  const std::size_t cut = path.rfind('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

FileFault KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileFault::None;
  if (S_ISDIR(mode)) return FileFault::Folder;
  if (S_ISFIFO(mode)) return FileFault::Fifo;
  if (S_ISSOCK(mode)) return FileFault::Socket;
  return FileFault::Device;
}

}  // namespace

namespace file_io_detail {

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
  FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
  return 0;
}

}  // namespace file_io_detail

using namespace file_io_detail;

int FileDescriptor::Reset(int fd) {
  int result = 0;
  // No retry on EINTR: on Linux the descriptor is closed whatever close reports.
  if (fd_ >= 0 && ::close(fd_) != 0) result = errno;
  fd_ = fd;
  return result;
}

FileStatus OpenRegularFile(const std::string& path, FileDescriptor& fd) {
  // Non-blocking so that a FIFO in the file's place cannot hang the open; refused below.
  fd.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.Valid()) return FileStatus::FromErrno(errno);
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    const int error = errno;
    fd.Reset();
    return FileStatus::FromErrno(error);
  }
  if (const FileFault kind = KindOf(info.st_mode); kind != FileFault::None) {
    fd.Reset();
    return FileStatus{kind, 0};
  }
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
  return {};
}

long ReadSome(int fd, char* buffer, std::size_t size) {
  std::size_t count = 0;
  while (count < size) {
    const ssize_t n = ::read(fd, buffer + count, size - count);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return count > 0 ? static_cast<long>(count) : -1;
    if (n == 0) break;
    count += static_cast<std::size_t>(n);
  }
  return static_cast<long>(count);
}

bool SeekToStart(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }

long long RegularFileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

FileStatus ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit, TaskProgress* progress) {
  bytes.clear();
  FileDescriptor fd;
  if (FileStatus status = OpenRegularFile(path, fd); !status.Ok()) return status;
  struct stat info {};
  std::uint64_t size = 0;
  if (::fstat(fd.Get(), &info) == 0 && info.st_size > 0) {
    if (static_cast<unsigned long long>(info.st_size) > limit) return FileStatus{FileFault::TooLarge, 0};
    size = static_cast<std::uint64_t>(info.st_size);
    bytes.reserve(static_cast<std::size_t>(size));
  }
  char buffer[65536];
  for (std::size_t chunk = 0;; ++chunk) {
    if (progress != nullptr && chunk % 16 == 0) progress->Report(bytes.size(), size);
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      bytes.clear();
      return FileStatus::FromErrno(error);
    }
    if (bytes.size() + static_cast<std::size_t>(n) > limit) {  // grew while being read
      bytes.clear();
      return FileStatus{FileFault::TooLarge, 0};
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return {};
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
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
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
  const std::string folder = FolderOf(SaveTargetPath(path));
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

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(SaveTargetPath(path)) {
  if (status_ = CheckSaveTarget(target_); !status_.Ok()) return;
  const std::string folder = FolderOf(target_);
  const std::string name = NameOf(target_).substr(0, kMaxNameInTemporary);
  // "x": never reuse a name that already exists.
  // Registered before the file exists: a signal right after the open must find it.
  for (int attempt = 0; attempt < 8 && !fd_.Valid(); ++attempt) {
    UnregisterInFlight(slot_);
    temporary_ = folder + "/." + name + "." + RandomPart() + ".tmp";
    slot_ = RegisterInFlight(temporary_.c_str());
    fd_.Reset(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd_.Valid() && errno != EEXIST) break;
  }
  if (!fd_.Valid()) {
    const int error = errno;
    status_ = FileStatus::FromErrno(error);
    UnregisterInFlight(slot_);
    slot_ = -1;
    temporary_.clear();
    // A folder that refuses new files may still hold a file that can be written.
    if ((error == EACCES || error == EPERM) && PathExists(target_) && ::access(target_.c_str(), W_OK) == 0) {
      status_ = {};
      inPlace_ = true;
    }
    return;
  }
  // The new file keeps the permission bits, and for root the owner, of the one it replaces.
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0) {
    ::fchmod(fd_.Get(), old.st_mode & 07777);
    if (::geteuid() == 0 && ::fchown(fd_.Get(), old.st_uid, old.st_gid) == 0) ::fchmod(fd_.Get(), old.st_mode & 07777);
  }
  pending_.reserve(kFlushSize + 4096);
}

FileStatus RewriteFileInPlace(const std::string& path, std::string_view bytes) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (!fd.Valid()) return FileStatus::FromErrno(errno);
  if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0) return FileStatus::FromErrno(errno);
  if (const int closed = fd.Reset(); closed != 0) return FileStatus::FromErrno(closed);
  return {};
}

}  // namespace theolink
