#include "serial/transfer_loop.h"

#include <algorithm>
#include <chrono>

namespace theolink {

bool QueueTransferLoop::RunUntilFinished(TransferController& controller) {
  using std::chrono::milliseconds;
  for (;;) {
    if (stopRequested_.exchange(false)) {
      controller.Stop();
      return true;
    }
    // A finished send keeps its timer for the last 2 s; the transfer ends when it fires.
    if (controller.TransferState() == TransferIdle && !timer_.Armed()) return false;
    if (timer_.Due()) {
      controller.OnTransferTimer();
      continue;
    }
    const milliseconds wait = timer_.TimeLeft().value_or(milliseconds(1000));
    dispatcher_.WaitAndProcess(std::max(wait, milliseconds(1)));
  }
}

void QueueTransferLoop::RequestStop() {
  stopRequested_ = true;
  dispatcher_.Wake();
}

}  // namespace theolink
