// receive: take a job from the instrument as the window's Receive does, into a file.
#include <unistd.h>

#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/transfer_args.h"
#include "cli/save_formats.h"
#include "cli/output_file.h"
#include "serial/transfer_session.h"

namespace theolink::cli {
namespace {

constexpr std::string_view kUsage = "Usage: theolink-cli receive --port DEV [--baud RATE] [--to FORMAT] OUTPUT\n";

void PrintHelp(std::ostream& out) {
  out << kUsage
      << "Receives a job as the window's Receive does: opens DEV at RATE (default 115200) with\n"
         "8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS off; waits up to 20 s\n"
         "for the first line and ends after 2 s without a line. Start the export on the\n"
         "instrument within the 20 s. Ctrl-C stops without writing anything.\n"
         "Without --to, OUTPUT gets the received lines as they came (CR LF after each); with\n"
         "--to, the data as it loaded, in one of the formats of convert:\n";
  PrintSaveFormats(out);
  out << "Options for --to:\n";
  PrintUnitOptionsHelp(out);
  PrintOutputOptionsHelp(out);
}

}  // namespace

int RunReceive(const Args& args, std::ostream& out, std::ostream& err) {
  int exitCode = 0;
  const auto parsed = ParseTransferArgs("receive", args, true, kUsage, PrintHelp, out, err, exitCode);
  if (!parsed) return exitCode;
  const TransferPortOptions& portOptions = parsed->Port;
  const ParsedOptions& options = parsed->Options;
  const std::string& output = options.Positional[0];
  if (!options.Format.empty() && !IsSaveFormatName(options.Format)) {
    err << "theolink-cli receive: unknown format '" << options.Format << "'; see 'theolink-cli receive --help'\n";
    return 2;
  }

  // A transfer cannot be repeated at will: find out before it starts that the file can go there.
  if (!CheckReceiveOutput(output, options.Format, options.Overwrite, err)) return 1;

  WorkingData data;
  ConsoleTransferSession session(portOptions, data, err, [](TextId id) { return MessageText(id); },
                                 ::isatty(STDERR_FILENO) != 0);
  TransferController& controller = session.Controller();
  if (controller.ReceiveBtnClick() != StartResult::Started) {
    err << MessageText(TextId::PortSettingsError) << '\n' << session.Host().OpenErrorText() << '\n';
    return 1;
  }
  err << "Waiting up to 20 s for the instrument's export on " << portOptions.Port << " ...\n" << std::flush;
  const PortTransferHost::RunEnd end = session.Run();
  const std::size_t lines = controller.Memo1().size();
  switch (end) {
    case PortTransferHost::RunEnd::Stopped:
      err << MessageText(TextId::Stopped) << " (lines received: " << lines << "; nothing written)\n";
      return 1;
    case PortTransferHost::RunEnd::HungUp:
      err << "theolink-cli receive: the port hung up (lines received: " << lines << "); nothing written\n";
      return 1;
    case PortTransferHost::RunEnd::PortError:
      err << "theolink-cli receive: " << session.Host().PortErrorText() << "; nothing written\n";
      return 1;
    case PortTransferHost::RunEnd::Finished:
      break;
  }
  switch (controller.LastOutcome()) {
    case ReceiveOutcome::NothingLoaded:
      err << "theolink-cli receive: no line arrived within 20 s\n" << MessageText(TextId::NoValidData) << '\n';
      return 1;
    case ReceiveOutcome::Unrecognised:
      err << MessageText(TextId::WrongFileFormat) << '\n';
      return 1;
    case ReceiveOutcome::NoValidData:
      return 1;  // the message has been shown
    default:
      break;
  }
  err << MessageText(TextId::OperationComplete) << " (lines received: " << lines << ")\n";

  if (options.Format.empty()) return WriteReceivedLines(controller.Memo1(), output, out, err);
  const SaveFormat* format = FindSaveFormat(data.DataKind, options.Format);
  if (format == nullptr) {
    err << "theolink-cli receive: format '" << options.Format << "' is not offered for what was received;"
        << " choose one of:";
    PrintFormatNames(data.DataKind, err);
    err << "\n";
    return 1;
  }
  return WriteOutput(data, format->FilterIndex, output, options.Values, out, err);
}

}  // namespace theolink::cli
