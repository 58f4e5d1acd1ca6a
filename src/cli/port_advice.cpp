#include "cli/port_advice.h"

#include "serial/com_error.h"

namespace theolink::cli {

void PrintPortAdvice(int osErrorCode, const std::string& port, std::ostream& err) {
  switch (OpenProblemOf(osErrorCode)) {
    case PortOpenProblem::NoPermission:
      err << "You may not use " << port << ": add yourself to the group that owns it (usually 'dialout',"
          << " for example: sudo adduser $USER dialout), then log out and in again.\n";
      break;
    case PortOpenProblem::Busy:
      err << port << " is busy: another program holds the port; close it and try again.\n";
      break;
    case PortOpenProblem::Missing:
      err << port << " is not there: is the cable or USB adapter plugged in? 'theolink-cli ports' lists"
          << " the ports present.\n";
      break;
    case PortOpenProblem::Other:
      break;
  }
}

}  // namespace theolink::cli
