// receive: take a job from the instrument as the window's Receive does, into a file.

#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/transfer_args.h"
#include "cli/save_formats.h"
#include "cli/console.h"
#include "cli/console_transfer.h"
#include "cli/output_file.h"
#include "cli/port_advice.h"
#include "serial/raw_receive_copy.h"

namespace theolink::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: theolink-cli receive --port DEV [--baud RATE] [--to FORMAT] [--overwrite] [--no-raw-copy]\n"
    "                            [--max-bytes N] OUTPUT\n";

void PrintHelp(std::ostream& out) {
  out << kUsage
      << "Receives a job as the window's Receive does: opens DEV at RATE (default 115200) with\n"
         "8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS off; waits up to 20 s\n"
         "for the first line and ends after 2 s without a line. Start the export on the\n"
         "instrument within the 20 s. Ctrl-C stops without writing anything. A device that\n"
         "hangs up ends the receive as the silence does: the lines that came are kept.\n"
         "Every byte received is also kept, as it came, in a raw copy under\n"
         "$XDG_DATA_HOME/theolink/received/ (default ~/.local/share/theolink/received/), named\n"
         "by the date and time; its path is printed at the end. --no-raw-copy turns it off.\n"
         "A receive stops after --max-bytes N bytes (default 268435456, 256 MiB) without\n"
         "writing OUTPUT; the raw copy keeps what came.\n"
         "Without --to, OUTPUT gets the received lines as they came (CR LF after each); with\n"
         "--to, the data as it loaded, in one of the formats of convert:\n";
  PrintSaveFormats(out);
  out << "Options for --to:\n";
  PrintUnitOptionsHelp(out);
  PrintOutputOptionsHelp(out);
}

int Receive(const TransferArgs& parsed, std::ostream& out, std::ostream& err) {
  const TransferPortOptions& portOptions = parsed.Port;
  const ParsedOptions& options = parsed.Options;
  const std::string& output = options.Positional[0];
  if (!options.Format.empty() && !IsSaveFormatName(options.Format)) {
    err << "theolink-cli receive: unknown format '" << options.Format << "'; see 'theolink-cli receive --help'\n";
    return 2;
  }

  // A transfer cannot be repeated at will: find out before it starts that the file can go there.
  if (!CheckReceiveOutput(output, options.Format, options.Overwrite, options.Values, err)) return 1;

  WorkingData data;
  ConsoleTransferSession session(portOptions, data, err, [](TextId id) { return MessageText(id); },
                                 StandardErrorIsTerminal(), parsed.RawCopy ? DefaultRawCopyFolder() : std::string());
  TransferController& controller = session.Controller();
  if (parsed.MaxBytes != 0) controller.SetReceiveLimit(parsed.MaxBytes);
  if (controller.StartReceive() != StartResult::Started) {
    err << MessageText(TextId::PortSettingsError) << '\n' << session.Host().OpenErrorText() << '\n';
    PrintPortAdvice(session.Host().OpenErrorCode(), portOptions.Port, err);
    return 1;
  }
  err << "Waiting up to 20 s for the instrument's export on " << portOptions.Port << " ...\n" << std::flush;
  const ConsoleTransferSession::RunEnd end = session.Run();
  const std::size_t lines = controller.Lines().size();
  // Whatever happens below, the bytes are safe in the raw copy: say where.
  const auto noteRawCopy = [&] {
    const std::string path = controller.RawCopyPath();
    if (!path.empty()) err << "Raw copy of the received bytes: " << path << '\n';
    if (!session.RawCopyError().empty()) {
      err << "theolink-cli receive: the raw copy is incomplete: " << session.RawCopyError() << '\n';
    }
  };
  const auto fail = [&] {
    noteRawCopy();
    return 1;
  };
  if (controller.ReceiveLimitReached()) {
    err << "theolink-cli receive: stopped after " << controller.ReceivedByteCount() << " bytes, more than the limit of "
        << controller.ReceiveLimit()
        << " (--max-bytes); nothing written\n";
    return fail();
  }
  switch (end) {
    case ConsoleTransferSession::RunEnd::Stopped:
      err << MessageText(TextId::Stopped) << " (lines received: " << lines << "; nothing written)\n";
      return fail();
    case ConsoleTransferSession::RunEnd::PortError:
      err << "theolink-cli receive: " << session.Host().PortErrorText() << "; nothing written\n";
      return fail();
    case ConsoleTransferSession::RunEnd::LinkDropped:
      err << "theolink-cli receive: the link dropped: the device hung up after " << lines
          << " lines; the lines that came are kept\n";
      if (lines == 0) return fail();
      break;
    case ConsoleTransferSession::RunEnd::Finished:
      break;
  }
  const bool raw = options.Format.empty();
  switch (controller.LastOutcome()) {
    case ReceiveOutcome::NothingLoaded:
      if (controller.ReceivedByteCount() > 0) {
        err << "theolink-cli receive: " << controller.ReceivedByteCount()
            << " bytes came, but no line ended in CR LF within 20 s. Likely causes: the instrument's"
               " line-end setting (it must send CR LF), or a baud rate other than the instrument's ("
            << portOptions.Baud << " here; see --baud)\n";
      } else {
        err << "theolink-cli receive: no line arrived within 20 s\n" << MessageText(TextId::NoValidData) << '\n';
      }
      return fail();
    case ReceiveOutcome::Unrecognised:
      if (raw) break;  // written as cut: raw mode does not classify
      err << MessageText(TextId::WrongFileFormat) << '\n';
      return fail();
    case ReceiveOutcome::NoValidData:
      if (raw) break;
      return fail();  // the message has been shown
    default:
      break;
  }
  err << MessageText(TextId::OperationComplete) << " (lines received: " << lines << ")\n";

  int status = 0;
  if (raw) {
    status = WriteReceivedLines(controller.Lines(), output, out, err);
  } else {
    const SaveFormat* format = FindSaveFormat(data.DataKind, options.Format);
    if (format == nullptr) {
      err << "theolink-cli receive: format '" << options.Format << "' is not offered for what was received;"
          << " choose one of:";
      PrintFormatNames(data.DataKind, err);
      err << "\n";
      return fail();
    }
    status = WriteOutput(data, *format, output, options.Values, out, err);
  }
  if (status != 0) return fail();
  noteRawCopy();
  return 0;
}

}  // namespace

int RunReceive(const Args& args, std::ostream& out, std::ostream& err) {
  return RunTransferCommand({"receive", true, kUsage, PrintHelp, Receive}, args, out, err);
}

}  // namespace theolink::cli
