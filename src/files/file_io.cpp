// The platform-neutral part of the file module.
#include "files/file_io.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>

#include "files/file_io_platform.h"

namespace theolink {
namespace {

// Temporary files of the saves in flight, for the signal handler. Plain atomic pointers are
// lock-free, so reading them from a handler is safe; a writer clears its slot before its
// string goes away.
std::array<std::atomic<const char*>, 8> gInFlight{};

}  // namespace

namespace file_io_detail {

int RegisterInFlight(const char* path) {
  for (std::size_t i = 0; i < gInFlight.size(); ++i) {
    const char* expected = nullptr;
    if (gInFlight[i].compare_exchange_strong(expected, path)) return static_cast<int>(i);
  }
  return -1;
}

void UnregisterInFlight(int slot) {
  if (slot >= 0) gInFlight[static_cast<std::size_t>(slot)].store(nullptr);
}

std::string RandomPart() {
  static constexpr char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device device;
  std::string part;
  for (int i = 0; i < 10; ++i) part += kAlphabet[device() % 36];
  return part;
}

}  // namespace file_io_detail

using namespace file_io_detail;

int FileDescriptor::Reset(int fd) {
  const int result = fd_ >= 0 ? CloseFile(fd_) : 0;
  fd_ = fd;
  return result;
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

std::string FileStatusText(const std::string& path, const FileStatus& status) {
  switch (status.Fault) {
    case FileFault::None:
      return path;
    case FileFault::System:
      return path + ": " + std::strerror(status.Error);
    case FileFault::Folder:
      return path + ": is a folder, not a file";
    case FileFault::Device:
      return path + ": is a device, not a file";
    case FileFault::Fifo:
      return path + ": is a FIFO (named pipe), not a file";
    case FileFault::Socket:
      return path + ": is a socket, not a file";
    case FileFault::TooLarge:
      return path + ": " + std::strerror(EFBIG);
    case FileFault::SameAsInput:
      return path + ": is the input file";
  }
  return path;
}

long ReadSome(int fd, char* buffer, std::size_t size) {
  std::size_t count = 0;
  while (count < size) {
    const long n = ReadOnce(fd, buffer + count, size - count);
    if (n < 0) return count > 0 ? static_cast<long>(count) : -1;
    if (n == 0) break;
    count += static_cast<std::size_t>(n);
  }
  return static_cast<long>(count);
}

FileStatus ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit, TaskProgress* progress) {
  bytes.clear();
  FileDescriptor fd;
  if (FileStatus status = OpenRegularFile(path, fd); !status.Ok()) return status;
  const std::uint64_t size = OpenFileSize(fd.Get());
  if (size > limit) return FileStatus{FileFault::TooLarge, 0};
  bytes.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  for (std::size_t chunk = 0;; ++chunk) {
    if (progress != nullptr && chunk % 16 == 0) progress->Report(bytes.size(), size);
    const long n = ReadOnce(fd.Get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
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

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(SaveTargetPath(path)) {
  if (status_ = CheckSaveTarget(target_); !status_.Ok()) return;
  const std::string folder = FolderOfPath(target_);
  const std::string name = NameOfPath(target_).substr(0, kMaxNameInTemporary);
  // Never reuse a name that already exists. Registered before the file exists: a signal
  // right after the open must find it.
  for (int attempt = 0; attempt < 8 && !fd_.Valid(); ++attempt) {
    UnregisterInFlight(slot_);
    temporary_ = folder + "/." + name + "." + RandomPart() + ".tmp";
    slot_ = RegisterInFlight(temporary_.c_str());
    fd_.Reset(CreateNewFile(temporary_));
    if (!fd_.Valid() && errno != EEXIST) break;
  }
  if (!fd_.Valid()) {
    const int error = errno;
    status_ = FileStatus::FromErrno(error);
    UnregisterInFlight(slot_);
    slot_ = -1;
    temporary_.clear();
    // A folder that refuses new files may still hold a file that can be written.
    if ((error == EACCES || error == EPERM) && PathExists(target_) && IsWritable(target_)) {
      status_ = {};
      inPlace_ = true;
    }
    return;
  }
  KeepModeOf(fd_.Get(), target_);
  pending_.reserve(kFlushSize + 4096);
}

FileStatus RewriteFileInPlace(const std::string& path, std::string_view bytes) {
  FileDescriptor fd(OpenTruncated(path));
  if (!fd.Valid() || !WriteAll(fd.Get(), bytes)) return FileStatus::FromErrno(errno);
  if (const int synced = SyncToDisk(fd.Get()); synced != 0) return FileStatus::FromErrno(synced);
  if (const int closed = fd.Reset(); closed != 0) return FileStatus::FromErrno(closed);
  return {};
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Write(std::string_view bytes) {
  if (!status_.Ok() || (!fd_.Valid() && !inPlace_)) return;
  // A block as large as this goes straight to the file: gathering it first would copy every
  // byte of a large save once more.
  if (!inPlace_ && bytes.size() >= kDirectWriteSize) {
    Flush();
    if (status_.Ok() && !WriteAll(fd_.Get(), bytes)) status_ = FileStatus::FromErrno(errno);
    // The disk starts on what is written while the rest is made, so the flush at the end
    // waits for the last blocks only.
    if (status_.Ok()) StartWriteBack(fd_.Get(), written_, bytes.size());
    written_ += bytes.size();
    return;
  }
  pending_.append(bytes);
  // In place, the old file stays as it was until everything has been produced.
  if (!inPlace_ && pending_.size() >= kFlushSize) Flush();
}

void AtomicFileWriter::Flush() {
  if (status_.Ok() && !WriteAll(fd_.Get(), pending_)) status_ = FileStatus::FromErrno(errno);
  written_ += pending_.size();
  pending_.clear();
}

FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  if (!writer.Status().Ok()) return writer.Status();
  writer.Write(bytes);
  return writer.Commit();
}

void RemoveTemporaryFilesInFlight() noexcept {
  for (auto& slot : gInFlight) {
    if (const char* path = slot.load()) RemoveFileNow(path);
  }
}

FileStatus AtomicFileWriter::Commit() {
  if (inPlace_) {
    inPlace_ = false;
    if (status_.Ok() && (status_ = CheckSaveTarget(target_)).Ok()) status_ = RewriteFileInPlace(target_, pending_);
    status_.InPlace = status_.Ok();
    pending_.clear();
    return status_;
  }
  if (!fd_.Valid()) {
    if (status_.Ok()) status_ = FileStatus::FromErrno(EBADF);
    return status_;
  }
  Flush();
  if (status_.Ok()) {
    if (const int synced = file_io_detail::SyncToDisk(fd_.Get()); synced != 0) status_ = FileStatus::FromErrno(synced);
  }
  if (const int closed = fd_.Reset(); closed != 0 && status_.Ok()) status_ = FileStatus::FromErrno(closed);
  // Checked again: something may have taken the target's place while the data was written.
  if (status_.Ok()) status_ = CheckSaveTarget(target_);
  if (status_.Ok()) {
    if (const int moved = file_io_detail::MoveOver(temporary_, target_); moved != 0) status_ = FileStatus::FromErrno(moved);
  }
  if (!status_.Ok()) {
    Discard();
    return status_;
  }
  file_io_detail::UnregisterInFlight(slot_);
  slot_ = -1;
  temporary_.clear();
  return status_;
}

void AtomicFileWriter::Discard() {
  fd_.Reset();
  if (!temporary_.empty()) file_io_detail::RemoveFileNow(temporary_.c_str());
  file_io_detail::UnregisterInFlight(slot_);
  slot_ = -1;
  temporary_.clear();
}

}  // namespace theolink
