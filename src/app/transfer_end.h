#pragma once
// What the window tells the surveyor once a transfer has ended, from plain facts about
// how it ended. No widgets, no port.
#include <string>
#include <vector>

namespace theolink {

struct TransferEndFacts {
  std::string portError;   // the port's own error text, empty when none
  bool linkDropped = false;
  bool wasReceive = false;
  bool limitReached = false;  // the receive stopped at its byte limit
  std::string rawCopyPath;    // where the receive's raw copy went, empty when none
  std::string copyError;      // why the raw copy failed part way, empty when it did not
};

enum class TransferEndStep { PortError, LinkDropped, ReceiveLimit, RawCopyPath, RawCopyFailed };

struct TransferEnd {
  std::vector<TransferEndStep> steps;  // in the order they are shown
  std::string rawCopyPath;             // the copy to point to; empty when it is not whole
};

TransferEnd DecideTransferEnd(const TransferEndFacts& facts);

}  // namespace theolink
