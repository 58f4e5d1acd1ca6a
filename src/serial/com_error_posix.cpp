// The component's view of errno.
#include <cerrno>
#include <cstring>

#include "serial/com_error.h"

namespace theolink {

std::string OsErrorText(int os_code) {
  // strerror_r in its GNU form: the text may live in buf or elsewhere.
  char buf[256] = {};
  const char* text = ::strerror_r(os_code, buf, sizeof buf);
  return text != nullptr ? text : "";
}

PortOpenProblem OpenProblemOf(int os_code) {
  switch (os_code) {
    case EACCES:
    case EPERM:
      return PortOpenProblem::NoPermission;
    case EBUSY:
    case EAGAIN:  // the lock another opener holds
      return PortOpenProblem::Busy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return PortOpenProblem::Missing;
    default:
      return PortOpenProblem::Other;
  }
}

}  // namespace theolink
