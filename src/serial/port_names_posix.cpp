#include <cctype>

#include "serial/com_port.h"

namespace theolink {

std::string PortDevicePath(const std::string& name) {
  if (name.empty() || name.front() == '/') return name;
  // "COMn": the Windows name of the n-th serial port, which Linux calls ttyS<n-1>.
  if (name.size() > 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
      std::toupper(static_cast<unsigned char>(name[1])) == 'O' &&
      std::toupper(static_cast<unsigned char>(name[2])) == 'M' && name.size() <= 12) {
    long long n = 0;
    bool digits = true;
    for (std::size_t i = 3; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
        digits = false;
        break;
      }
      n = n * 10 + (name[i] - '0');
    }
    if (digits && n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
  }
  return "/dev/" + name;
}

}  // namespace theolink
