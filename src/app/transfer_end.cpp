#include "app/transfer_end.h"

namespace theolink {

TransferEnd DecideTransferEnd(const TransferEndFacts& facts) {
  TransferEnd end;
  if (!facts.portError.empty()) end.steps.push_back(TransferEndStep::PortError);
  if (facts.linkDropped) end.steps.push_back(TransferEndStep::LinkDropped);
  // A send keeps no raw copy: what an earlier receive kept is not this transfer's.
  if (!facts.wasReceive) return end;
  // A copy that failed part way is not pointed to as if it held everything.
  if (facts.copyError.empty()) end.rawCopyPath = facts.rawCopyPath;
  if (facts.limitReached) end.steps.push_back(TransferEndStep::ReceiveLimit);
  else if (!end.rawCopyPath.empty()) end.steps.push_back(TransferEndStep::RawCopyPath);
  if (!facts.copyError.empty()) end.steps.push_back(TransferEndStep::RawCopyFailed);
  return end;
}

}  // namespace theolink
