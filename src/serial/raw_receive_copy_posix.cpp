// The raw copy's POSIX part.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include "serial/raw_receive_copy.h"
#include "serial/raw_receive_copy_platform.h"

namespace theolink {

namespace raw_copy_detail {

int NameTakenCode() { return EEXIST; }

int MakeCopyFolder(const std::string& folder) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  struct stat st{};
  if (::stat(folder.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

std::tm LocalTime(std::time_t moment) {
  std::tm local{};
  ::localtime_r(&moment, &local);
  return local;
}

int CreateNewCopy(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  return fd >= 0 ? 0 : errno;
}

int WriteToCopy(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int FlushAndClose(int fd) {
  // A copy on a device that cannot be flushed (EINVAL) is as written as it gets.
  const int e = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  ::close(fd);
  return e;
}

}  // namespace raw_copy_detail

std::string DefaultRawCopyFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored, as the convention says.
  if (data != nullptr && data[0] == '/') return std::string(data) + "/theolink/received";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] != '\0' ? home : ".") + "/.local/share/theolink/received";
}

}  // namespace theolink
