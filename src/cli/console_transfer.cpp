#include "cli/console_transfer.h"

#include <utility>

namespace theolink::cli {

ConsoleTransferDisplay::ConsoleTransferDisplay(std::ostream& out, TextOf textOf, bool live)
    : out_(out), textOf_(std::move(textOf)), live_(live) {}

void ConsoleTransferDisplay::ShowStatus(TextId message) {
  lastStatus_ = message;
  const auto bit = static_cast<unsigned>(message);
  if (bit < 64) statusSeen_ |= std::uint64_t{1} << bit;
}

bool ConsoleTransferDisplay::EverShown(TextId status) const {
  const auto bit = static_cast<unsigned>(status);
  return bit < 64 && (statusSeen_ >> bit & 1u) != 0;
}

void ConsoleTransferDisplay::ShowCounter(TextId prefix, int value) {
  const bool changed = !counter_ || counter_->second != value || counter_->first != prefix;
  counter_ = {prefix, value};
  if (!live_ || !changed) return;
  // Redrawing per line would cost more than receiving it; ten times a second is plenty.
  const auto now = std::chrono::steady_clock::now();
  if (progressOpen_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  out_ << '\r' << textOf_(prefix) << value << std::flush;
  progressOpen_ = true;
}

void ConsoleTransferDisplay::ShowMessage(TextId message) {
  EndProgressLine();
  out_ << textOf_(message) << '\n' << std::flush;
}

void ConsoleTransferDisplay::EndProgressLine() {
  if (!progressOpen_) return;
  out_ << '\n';
  progressOpen_ = false;
}

void ConsoleTransferDisplay::Finish() {
  if (counter_) out_ << '\r' << textOf_(counter_->first) << counter_->second << '\n';
  progressOpen_ = false;
  out_ << std::flush;
}

ConsoleTransferSession::ConsoleTransferSession(const TransferPortOptions& options, WorkingData& data,
                                               std::ostream& out, ConsoleTransferDisplay::TextOf textOf, bool live,
                                               const std::string& rawCopyFolder)
    : display_(out, std::move(textOf), live),
      host_(port_, timer_, display_),
      controller_(host_, data),
      rawCopy_(rawCopyFolder.empty() ? nullptr : std::make_unique<RawReceiveCopy>(rawCopyFolder)),
      loop_(dispatcher_, timer_),
      stopper_([this] { loop_.RequestStop(); }) {
  SetUpTransferPort(port_, options.Port, BaudRateFor(options.Baud), options.Baud, dispatcher_);
  host_.Bind(controller_);
  controller_.SetRawCopy(rawCopy_.get());
}

ConsoleTransferSession::RunEnd ConsoleTransferSession::Run() {
  const bool stopped = loop_.RunUntilFinished(controller_);
  display_.Finish();
  if (stopped) return RunEnd::Stopped;
  if (!host_.PortErrorText().empty()) return RunEnd::PortError;
  if (controller_.LinkDropped()) return RunEnd::LinkDropped;
  return RunEnd::Finished;
}

}  // namespace theolink::cli
