#include "cli/transfer_args.h"

namespace theolink::cli {

std::optional<TransferArgs> ParseTransferArgs(std::string_view command, const Args& args, bool allowTo,
                                              std::string_view usage, void (*printHelp)(std::ostream&),
                                              std::ostream& out, std::ostream& err, int& exitCode) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      printHelp(out);
      exitCode = 0;
      return std::nullopt;
    }
  }
  exitCode = 2;
  Args rest = args;
  TransferArgs parsed;
  std::string why;
  if (!TakePortOptions(rest, parsed.Port, why)) {
    err << "theolink-cli " << command << ": " << why << '\n' << usage;
    return std::nullopt;
  }
  if (allowTo) {
    for (auto it = rest.begin(); it != rest.end() && *it != "--";) {
      if (*it == "--no-raw-copy") {
        parsed.RawCopy = false;
        it = rest.erase(it);
      } else {
        ++it;
      }
    }
  }
  auto options = ParseOptions(rest, allowTo, err);
  if (!options) return std::nullopt;
  if (options->Positional.size() != 1) {
    err << usage;
    return std::nullopt;
  }
  parsed.Options = std::move(*options);
  return parsed;
}

}  // namespace theolink::cli
