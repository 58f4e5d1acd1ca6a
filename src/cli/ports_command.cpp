// theolink-cli ports: the serial ports present, one device path per line.
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "serial/com_enum.h"

namespace theolink::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: theolink-cli ports\n"
    "Lists the serial ports present (device paths, one per line); any of them can be\n"
    "given to receive and send as --port. Ports this user may not open are named on\n"
    "standard error.\n";

}  // namespace

int RunPorts(const Args& args, std::ostream& out, std::ostream& err) {
  if (const auto done = HelpOrUsage(args, args.empty(), kHelp, "theolink-cli ports: takes no arguments\n", out, err))
    return *done;
  std::vector<std::string> ports;
  EnumComPorts(ports);
  std::vector<std::string> closed;
  for (const std::string& port : ports) {
    out << port << '\n';
    if (!MayOpenPort(port)) closed.push_back(port);
  }
  if (!closed.empty()) {
    err << "theolink-cli ports: you may not open";
    for (const std::string& port : closed) err << ' ' << port;
    err << "; add yourself to the group that owns them (usually 'dialout', for example:"
           " sudo adduser $USER dialout), then log out and in again\n";
  }
  return 0;
}

}  // namespace theolink::cli
