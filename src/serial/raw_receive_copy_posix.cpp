#include "serial/raw_receive_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "serial/com_error.h"

namespace theolink {

namespace {

// Makes folder and the folders above it; 0 or the system's code.
int MakeFolders(const std::string& folder) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  struct stat st{};
  if (::stat(folder.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

std::string LocalStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &local);
  return text;
}

}  // namespace

std::string DefaultRawCopyFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored, as the convention says.
  if (data != nullptr && data[0] == '/') return std::string(data) + "/theolink/received";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] != '\0' ? home : ".") + "/.local/share/theolink/received";
}

RawReceiveCopy::RawReceiveCopy(std::string folder) : folder_(std::move(folder)) {}

RawReceiveCopy::~RawReceiveCopy() { End(); }

void RawReceiveCopy::Begin() {
  End();
  path_.clear();
  error_.clear();
}

bool RawReceiveCopy::Create() {
  if (const int e = MakeFolders(folder_)) {
    error_ = folder_ + ": " + OsErrorText(e);
    return false;
  }
  const std::string stamp = folder_ + "/" + LocalStamp();
  for (int n = 1; n < 1000; ++n) {
    const std::string path = stamp + (n == 1 ? "" : "-" + std::to_string(n)) + ".txt";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
      fd_ = fd;
      path_ = path;
      return true;
    }
    if (errno != EEXIST) {
      error_ = path + ": " + OsErrorText(errno);
      return false;
    }
  }
  error_ = stamp + ".txt: " + OsErrorText(EEXIST);
  return false;
}

void RawReceiveCopy::Append(std::string_view bytes) {
  if (bytes.empty() || !error_.empty()) return;
  if (fd_ < 0 && (!path_.empty() || !Create())) return;
  // Straight to the system, no buffer of our own: a killed program keeps every byte written.
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = path_ + ": " + OsErrorText(n < 0 ? errno : EIO);
      End();
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void RawReceiveCopy::End() {
  if (fd_ < 0) return;
  // The copy is worth its place on disk; a failure here is only kept, never raised.
  if (::fsync(fd_) != 0 && error_.empty() && errno != EINVAL) error_ = path_ + ": " + OsErrorText(errno);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace theolink
