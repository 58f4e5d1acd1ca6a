// send: upload a coordinate or code list to the instrument as the window's Send does.

#include <optional>
#include <ostream>
#include <string_view>

#include "app/send_cut_text.h"
#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/transfer_args.h"
#include "files/file_open.h"
#include "serial/transfer_send_lines.h"
#include "cli/console.h"
#include "cli/console_transfer.h"
#include "cli/port_advice.h"

namespace theolink::cli {
namespace {

constexpr std::string_view kUsage = "Usage: theolink-cli send --port DEV [--baud RATE] INPUT\n";

void PrintHelp(std::ostream& out) {
  out << kUsage
      << "Opens INPUT as the window's Open does; it must hold coordinates or codes. Then opens\n"
         "DEV as Receive does (default 115200 baud) and answers every request of the\n"
         "instrument (text holding a CR) with the next line: for a point its name, code, \" 0 \",\n"
         "north, east and elevation with six decimals and \" 0\"; for a code its text; CR LF\n"
         "after each. Put the instrument in import mode within 20 s. Ends after the request\n"
         "that finds no line left, or 2 s after the last request. Exits 0 only when every line\n"
         "went out whole and the instrument asked once more after the last. A line the\n"
         "instrument does not take in its time limit stops the send, naming the line.\n"
         "Ctrl-C, SIGTERM and SIGHUP stop.\n"
         "Options for reading INPUT:\n";
  PrintUnitOptionsHelp(out);
}

int Send(const TransferArgs& parsed, std::ostream& out, std::ostream& err) {
  const TransferPortOptions& portOptions = parsed.Port;
  WorkingData data;
  const OpenOutcome opened = OpenDataFile(data, parsed.Options.Positional[0], parsed.Options.Values);
  if (!opened.Messages.empty()) {
    for (const UserMessage& message : opened.Messages) err << MessageText(message) << '\n';
    return 1;
  }
  const LineList lines = SendLinesFor(data);

  ConsoleTransferSession session(portOptions, data, err, [](TextId id) { return MessageText(id); },
                                 StandardErrorIsTerminal());
  TransferController& controller = session.Controller();
  switch (controller.StartSend(lines)) {
    case StartResult::NothingToSend:
      // The message has been shown; for a job it does not say where the fault is.
      if (data.DataKind == DataKind::Measure)
        err << "theolink-cli send: send takes coordinates or codes, not a measurement job\n";
      return 1;
    case StartResult::PortFailed:
      err << MessageText(TextId::PortSettingsError) << '\n' << session.Host().OpenErrorText() << '\n';
      PrintPortAdvice(session.Host().OpenErrorCode(), portOptions.Port, err);
      return 1;
    case StartResult::Started:
      break;
  }
  err << "Waiting up to 20 s for the instrument's first request on " << portOptions.Port << " ...\n" << std::flush;
  const ConsoleTransferSession::RunEnd end = session.Run();
  const std::size_t sent = static_cast<std::size_t>(controller.TransferCount());
  const std::optional<SendCut>& cut = controller.LastSendCut();
  switch (end) {
    case ConsoleTransferSession::RunEnd::Stopped:
      err << MessageText(TextId::Stopped) << '\n';
      break;
    case ConsoleTransferSession::RunEnd::LinkDropped:
      err << "theolink-cli send: the link dropped: the device hung up during the transfer\n";
      break;
    case ConsoleTransferSession::RunEnd::PortError:
      err << "theolink-cli send: " << session.Host().PortErrorText() << '\n';
      break;
    case ConsoleTransferSession::RunEnd::Finished:
      if (session.Display().EverShown(TextId::SentSuccessfully)) err << MessageText(TextId::SentSuccessfully) << '\n';
      break;
  }
  if (cut) {
    err << "theolink-cli send: " << LineCutShortText(cut->Line, cut->Total, cut->Name, cut->WholeLines, cut->Error)
        << '\n';
    return 1;
  }
  // Success needs every line whole and the request after the last one, which ends the send.
  const bool ended = session.Display().EverShown(TextId::SentSuccessfully);
  if (sent == lines.size() && ended && end == ConsoleTransferSession::RunEnd::Finished) {
    err << MessageText(TextId::OperationComplete) << " (lines sent: " << sent << ")\n";
    out.flush();
    return 0;
  }
  err << "theolink-cli send: " << sent << " of " << lines.size() << " lines were sent";
  if (sent == lines.size() && !ended) err << "; the instrument did not ask after the last line";
  err << '\n';
  return 1;
}

}  // namespace

int RunSend(const Args& args, std::ostream& out, std::ostream& err) {
  return RunTransferCommand({"send", false, kUsage, PrintHelp, Send}, args, out, err);
}

}  // namespace theolink::cli
