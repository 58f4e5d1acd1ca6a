#pragma once
// The event loop of a transfer in a program without a window toolkit: the owning thread
// pumps a QueueDispatcher (the port's hand-off lands there) and fires a DeadlineTimer as
// the controller's Timer1.
#include <atomic>

#include "serial/transfer_controller.h"
#include "serial/transfer_timer.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

class QueueTransferLoop {
 public:
  QueueTransferLoop(QueueDispatcher& dispatcher, DeadlineTimer& timer) : dispatcher_(dispatcher), timer_(timer) {}

  // Runs the started transfer of controller until it has ended. True when RequestStop
  // ended it (as the Stop button would).
  bool RunUntilFinished(TransferController& controller);
  // Stops the running transfer; callable from any thread.
  void RequestStop();

 private:
  QueueDispatcher& dispatcher_;
  DeadlineTimer& timer_;
  std::atomic<bool> stopRequested_{false};
};

}  // namespace theolink
