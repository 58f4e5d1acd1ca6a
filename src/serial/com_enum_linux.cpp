// The ports Linux lists in /sys/class/tty.
#include "serial/com_enum.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace theolink {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool DigitsAfter(const std::string& text, std::size_t from) {
  return text.size() > from && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                                           text.end(), [](unsigned char c) {
                                             return std::isdigit(c) != 0;
                                           });
}

}  // namespace

bool MayOpenPort(const std::string& device_path) {
  return ::access(device_path.c_str(), R_OK | W_OK) == 0;
}

bool HasSerialHardware(const std::string& device_path) {
  const int fd = ::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY;
  serial_struct info{};
  const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return known;
}

void EnumComPortsIn(const std::string& sys_class_tty, const std::string& dev_dir,
                    const SerialProbe& probe, std::vector<std::string>& strings) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::directory_iterator it(sys_class_tty, ec);
  if (ec) return;
  std::vector<std::string> found;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;  // a listing cut short still offers the ports found so far
    const std::string name = it->path().filename().string();
    // Virtual consoles, pseudo-terminals and the like have no device behind them.
    if (!fs::exists(it->path() / "device", ec)) continue;
    // Every 8250 driver registers its ttyS lines, wired or not; only a UART that answers counts.
    const bool uart = StartsWith(name, "ttyS") && DigitsAfter(name, 4);
    const std::string path = dev_dir + "/" + name;
    if (uart && !(probe && probe(path))) continue;
    found.push_back(path);
  }
  SortNoCase(found);
  strings = std::move(found);
}

void EnumComPorts(std::vector<std::string>& strings) {
  EnumComPortsIn("/sys/class/tty", "/dev", HasSerialHardware, strings);
}

}  // namespace theolink
