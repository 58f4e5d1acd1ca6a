// Windows opens COMn as \\.\COMn, which also reaches COM10 and above.
#include "serial/com_port.h"

namespace theolink {

std::string PortDevicePath(const std::string& name) {
  if (name.empty() || name.rfind("\\\\", 0) == 0) return name;
  return "\\\\.\\" + name;
}

}  // namespace theolink
