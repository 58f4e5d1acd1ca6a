#pragma once
// The arguments receive and send share: --port/--baud, the unit options and one file.
#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/port_options.h"

namespace theolink::cli {

struct TransferArgs {
  TransferPortOptions Port;
  ParsedOptions Options;  // Positional holds exactly the one file
  bool RawCopy = true;     // receive: keep a raw copy of the bytes (off with --no-raw-copy)
  std::size_t MaxBytes = 0;  // receive: --max-bytes, 0 for the controller's default
};

// Parses args for the named command; allowTo also admits receive's --no-raw-copy and --max-bytes. Returns nothing with exitCode set when the command is
// done: 0 after printing help for --help, 2 after printing why the arguments are wrong.
std::optional<TransferArgs> ParseTransferArgs(std::string_view command, const Args& args, bool allowTo,
                                              std::string_view usage, void (*printHelp)(std::ostream&),
                                              std::ostream& out, std::ostream& err, int& exitCode);

}  // namespace theolink::cli
