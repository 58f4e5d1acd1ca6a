// theolink-cli ports: the serial ports present, one device path per line.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "serial/com_enum.h"

namespace theolink::cli {

int RunPorts(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << "Usage: theolink-cli ports\n"
           "Lists the serial ports present (device paths, one per line); any of them can be\n"
           "given to receive and send as --port.\n";
    return 0;
  }
  if (!args.empty()) {
    err << "theolink-cli ports: takes no arguments\n";
    return 2;
  }
  std::vector<std::string> ports;
  EnumComPorts(ports);
  for (const std::string& port : ports) out << port << '\n';
  return 0;
}

}  // namespace theolink::cli
