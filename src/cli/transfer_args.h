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

// A transfer command: its name, whether it takes receive's output options (--to, --overwrite,
// --no-raw-copy, --max-bytes), its usage line and help, and what it does with parsed arguments.
struct TransferCommand {
  std::string_view Name;
  bool AllowTo = false;
  std::string_view Usage;
  void (*PrintHelp)(std::ostream&) = nullptr;
  int (*Run)(const TransferArgs& parsed, std::ostream& out, std::ostream& err) = nullptr;
};

// Parses args and runs the command on them. Gives 0 after printing help for --help, 2 after
// printing why the arguments are wrong, else what the command's Run gives.
int RunTransferCommand(const TransferCommand& command, const Args& args, std::ostream& out, std::ostream& err);

}  // namespace theolink::cli
