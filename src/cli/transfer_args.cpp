#include "cli/transfer_args.h"

#include <stdexcept>
#include <string>

namespace theolink::cli {

namespace {

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
      } else if (*it == "--max-bytes") {
        const auto value = it + 1 == rest.end() ? std::string() : *(it + 1);
        std::size_t used = 0;
        unsigned long long n = 0;
        try {
          n = std::stoull(value, &used);
        } catch (const std::exception&) {
          used = 0;
        }
        if (value.empty() || used != value.size() || value[0] == '-' || n == 0) {
          err << "theolink-cli " << command << ": --max-bytes needs a whole number of bytes above 0\n" << usage;
          return std::nullopt;
        }
        parsed.MaxBytes = static_cast<std::size_t>(n);
        it = rest.erase(it, it + 2);
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

}  // namespace

int RunTransferCommand(const TransferCommand& command, const Args& args, std::ostream& out, std::ostream& err) {
  int exitCode = 0;
  const auto parsed =
      ParseTransferArgs(command.Name, args, command.AllowTo, command.Usage, command.PrintHelp, out, err, exitCode);
  return parsed ? command.Run(*parsed, out, err) : exitCode;
}

}  // namespace theolink::cli
