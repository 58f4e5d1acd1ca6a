#pragma once
// The file module: every system file call outside the serial component goes through here.
// One whole-file reader, one atomic writer, one owned descriptor. Paths are UTF-8; on
// Windows the descriptor is the C runtime's and both '/' and '\\' separate folders.
#include <cstddef>
#include <string>
#include <string_view>

#include "files/task_progress.h"

namespace theolink {

// A file descriptor closed exactly once, when the owner goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held; the close's result (0 or the errno).
  int Reset(int fd = -1);

 private:
  int fd_ = -1;
};

// Why a file operation failed. System carries the errno; the others name a file that is
// not a plain file.
enum class FileFault {
  None,
  System,
  Folder,
  Device,
  Fifo,
  Socket,
  TooLarge,
  SameAsInput,
};

struct FileStatus {
  FileFault Fault = FileFault::None;
  int Error = 0;  // errno for FileFault::System
  // Ok, but written in place (truncated and rewritten): the folder takes no new file, so
  // the write was not atomic. The caller warns.
  bool InPlace = false;

  bool Ok() const { return Fault == FileFault::None; }
  static FileStatus FromErrno(int error) { return FileStatus{FileFault::System, error}; }
};

// "points.dat: Permission denied", "/dev/null: is a device, not a file", ...
std::string FileStatusText(const std::string& path, const FileStatus& status);

// Largest file the whole-file reader takes: well above any job an instrument holds, low
// enough that the file and the data built from it still fit in memory.
inline constexpr std::size_t kMaxReadFileSize = std::size_t{1} << 30;

// Reads a regular file whole into bytes (emptied first). Folders, devices, FIFOs and sockets
// are refused without blocking; a file above limit gives FileFault::TooLarge. The bytes read
// so far are reported to progress, which may cancel the read.
FileStatus ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit = kMaxReadFileSize,
                         TaskProgress* progress = nullptr);

// Opens a regular file for reading without blocking on a FIFO; the descriptor is blocking again.
FileStatus OpenRegularFile(const std::string& path, FileDescriptor& fd);

// Reads up to size bytes, retrying on EINTR and short reads; the count read, or -1 with errno.
long ReadSome(int fd, char* buffer, std::size_t size);

// Back to the start of an open file; false (errno set) when it cannot seek.
bool SeekToStart(int fd);
// The size of the regular file at path; -1 when it is none or cannot be looked at.
long long RegularFileSize(const std::string& path);

// The file a save to path writes: path itself, or what its symbolic links lead to.
std::string SaveTargetPath(const std::string& path);

// What kind of thing stands at path (links followed): None when it is a regular file or
// nothing, otherwise Folder, Device, Fifo or Socket; System for a failed look-up other than
// "not there".
FileStatus CheckSaveTarget(const std::string& path);
// True when a and b name the same existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);
// True when something (even a dangling link) stands at path.
bool PathExists(const std::string& path);
// Whether a new file can be made in path's folder: Ok, or the errno (ENOENT, EACCES, ENOTDIR).
FileStatus CheckFolderWritable(const std::string& path);
// mkdir -p with the mode given for the folders made.
bool MakeFolders(const std::string& folder, unsigned mode);
// access(path, W_OK).
bool IsWritable(const std::string& path);
// The folder a path is in ("." for a bare name; a root keeps its separator).
std::string FolderOfPath(const std::string& path);
// The last part of a path, after its folder.
std::string NameOfPath(const std::string& path);
// True for a path that names the same file from any working folder ("/x"; "C:/x" on Windows).
bool IsAbsolutePath(const std::string& path);
// The text of a symbolic link (or of /proc/self/exe); empty on failure.
std::string ReadLinkText(const std::string& path);

// Writes a file whole or not at all: a temporary ".<name>.<random>.tmp" in the target's
// folder is written, flushed to disk, given the target's permission bits, renamed over the
// target (a symbolic link's target, never the link) and the folder is flushed. Until Commit
// succeeds the target stays as it was; a writer dropped without Commit removes its
// temporary file. Non-regular targets are refused before anything is created. When the
// folder takes no new file but the target may be written, the bytes are kept until Commit
// and then written over the target in place (Status().InPlace). A replaced file keeps its
// permission bits and, for root, its owner and group.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Ok when the temporary file is there; otherwise why not.
  const FileStatus& Status() const { return status_; }
  const std::string& TemporaryPath() const { return temporary_; }
  // Appends bytes (buffered); a failure sticks and is reported by Commit.
  void Write(std::string_view bytes);
  FileStatus Commit();

 private:
  void Flush();
  void Discard();

  std::string target_, temporary_, pending_;
  std::size_t written_ = 0;  // bytes in the temporary file
  FileDescriptor fd_;
  FileStatus status_;
  int slot_ = -1;
  bool inPlace_ = false;
};

// AtomicFileWriter on one block of bytes.
FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes);
// Rewrites an existing file in place (truncate, write, fsync): not atomic, for a folder
// that refuses new files.
FileStatus RewriteFileInPlace(const std::string& path, std::string_view bytes);

// Removes the temporary files of the saves in flight. Async-signal-safe: a signal handler
// calls it before the process ends, so no half-written temporary file stays behind.
void RemoveTemporaryFilesInFlight() noexcept;

}  // namespace theolink
