#pragma once
// What the platform-neutral part of the file module (file_io.cpp) shares with the
// platform's own part (file_io_posix.cpp or file_io_win32.cpp).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/file_io.h"

namespace theolink::file_io_detail {

inline constexpr std::size_t kFlushSize = 1 << 20;
inline constexpr std::size_t kDirectWriteSize = 1 << 15;
inline constexpr std::size_t kMaxNameInTemporary = 200;  // keeps ".<name>.<random>.tmp" under NAME_MAX

// A slot in the table of temporary files in flight, or -1 when it is full.
int RegisterInFlight(const char* path);
void UnregisterInFlight(int slot);
// Ten random letters and digits for a temporary file's name.
std::string RandomPart();

// Platform part: one read of up to size bytes (retried on EINTR); the count, 0 at the end,
// or -1 with errno set.
long ReadOnce(int fd, char* buffer, std::size_t size);
// Platform part: the size of an open file; 0 when it is empty or cannot be told.
std::uint64_t OpenFileSize(int fd);
// Platform part: creates path, which must not exist, for writing; the descriptor, or -1
// with errno set.
int CreateNewFile(const std::string& path);
// Platform part: gives a new file the permission bits (and for root the owner) of the file
// at target, where the system has them.
void KeepModeOf(int fd, const std::string& target);
// Platform part: opens an existing file for writing, emptied; the descriptor, or -1 with errno set.
int OpenTruncated(const std::string& path);
// Platform part: what an open descriptor is: Ok for a regular file, else its kind or the
// error of the look-up.
FileStatus OpenedKind(int fd);
// Platform part: closes a descriptor; 0, or the error number.
int CloseFile(int fd);
// Platform part: writes all of data, retrying short writes; false with errno set.
bool WriteAll(int fd, std::string_view data);
// Platform part: asks the system to start writing a range to disk; a hint only.
void StartWriteBack(int fd, std::size_t offset, std::size_t size);
// Platform part: flushes a file's data to disk; 0, or the error number.
int SyncToDisk(int fd);
// Platform part: puts the written temporary file in the target's place, durably; 0, or the
// error number (the temporary is then still there).
int MoveOver(const std::string& temporary, const std::string& target);
// Platform part: removes a file; safe inside a signal handler.
void RemoveFileNow(const char* path) noexcept;

}  // namespace theolink::file_io_detail
