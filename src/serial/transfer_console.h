#pragma once
// A transfer shown on a text console: the counter as progress, messages as lines, and
// Ctrl-C as the Stop button.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "serial/transfer_port_host.h"

namespace theolink {

class ConsoleTransferDisplay final : public TransferDisplay {
 public:
  using TextOf = std::function<std::string(TextId)>;

  // live: redraw the counter in place while it changes (a terminal); otherwise the counter
  // is written once, by Finish.
  ConsoleTransferDisplay(std::ostream& out, TextOf textOf, bool live);

  void ShowStatus(TextId message) override;
  void ShowCounter(TextId prefix, int value) override;
  void ShowMessage(TextId message) override;
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

// While it lives, SIGINT and SIGTERM stop host's transfer as the Stop button does instead of
// ending the program. Create it before the port opens, so the port's thread inherits the
// blocked signals.
class InterruptStopper {
 public:
  explicit InterruptStopper(PortTransferHost& host);
  ~InterruptStopper();
  InterruptStopper(const InterruptStopper&) = delete;
  InterruptStopper& operator=(const InterruptStopper&) = delete;

 private:
  sigset_t signals_{};
  sigset_t previous_{};
  std::atomic<bool> done_{false};
  std::thread waiter_;
};

}  // namespace theolink
