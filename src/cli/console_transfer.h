#pragma once
// A transfer run from the console: the counter as progress, messages as lines, Ctrl-C,
// SIGTERM and SIGHUP as the Stop button, and the port, timer and controller of one receive or send.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "cli/interrupt_stopper.h"
#include "cli/port_options.h"
#include "serial/com_port.h"
#include "serial/raw_receive_copy.h"
#include "serial/transfer_controller.h"
#include "serial/transfer_loop.h"
#include "serial/transfer_port_host.h"
#include "serial/transfer_view.h"
#include "serial/ui_dispatcher.h"

namespace theolink::cli {

class ConsoleTransferDisplay final : public TransferView {
 public:
  using TextOf = std::function<std::string(TextId)>;

  // live: redraw the counter in place while it changes (a terminal); otherwise the counter
  // is written once, by Finish.
  ConsoleTransferDisplay(std::ostream& out, TextOf textOf, bool live);

  void ShowStatus(TextId message) override;
  void ShowCounter(TextId prefix, int value) override;
  void ShowMessage(TextId message) override;
  // The command says which line was cut once the run has ended.
  void ShowSendCut(const SendCut&) override {}
  void EnableControl(TransferControl, bool) override {}
  void RefreshViews() override {}
  // Writes the last counter on its own line.
  void Finish();

  std::optional<TextId> LastStatus() const { return lastStatus_; }
  bool EverShown(TextId status) const;

 private:
  void EndProgressLine();

  std::ostream& out_;
  TextOf textOf_;
  bool live_;
  std::optional<TextId> lastStatus_;
  std::uint64_t statusSeen_ = 0;  // one bit per status text shown
  std::optional<std::pair<TextId, int>> counter_;
  bool progressOpen_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

class ConsoleTransferSession {
 public:
  enum class RunEnd {
    Finished,     // the end-of-transfer timer ended it
    Stopped,      // Ctrl-C, SIGTERM or SIGHUP
    LinkDropped,  // the device hung up; a receive has loaded what it had
    PortError,    // reading or writing failed; Host().PortErrorText() says what
  };

  // Construct on the thread that runs the transfer. rawCopyFolder empty: no raw copy.
  ConsoleTransferSession(const TransferPortOptions& options, WorkingData& data, std::ostream& out,
                         ConsoleTransferDisplay::TextOf textOf, bool live, const std::string& rawCopyFolder = {});

  TransferController& Controller() { return controller_; }
  PortTransferHost& Host() { return host_; }
  ConsoleTransferDisplay& Display() { return display_; }
  // Why the raw copy could not be made or written in full; empty when it was.
  std::string RawCopyError() const { return rawCopy_ ? rawCopy_->Error() : std::string(); }

  // Runs the started transfer to its end and finishes the progress line.
  RunEnd Run();

 private:
  QueueDispatcher dispatcher_;
  TComPort port_;
  DeadlineTimer timer_;
  ConsoleTransferDisplay display_;
  PortTransferHost host_;
  TransferController controller_;
  std::unique_ptr<RawReceiveCopy> rawCopy_;
  QueueTransferLoop loop_;
  InterruptStopper stopper_;
};

}  // namespace theolink::cli
