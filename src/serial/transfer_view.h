#pragma once
// What a transfer shows and enables: the window's status bar, buttons, message boxes and
// data views, or their console counterparts. The window and the command line each
// provide one.
#include "records/text_id.h"
#include "serial/transfer_host.h"

namespace theolink {

class TransferView {
 public:
  virtual ~TransferView() = default;
  // Status bar panel 0.
  virtual void ShowStatus(TextId message) = 0;
  // Status bar panel 1: the prefix text followed by value in decimal.
  virtual void ShowCounter(TextId prefix, int value) = 0;
  virtual void EnableControl(TransferControl control, bool enabled) = 0;
  // A notice box.
  virtual void ShowMessage(TextId message) = 0;
  // Status bar panel 0 and a notice: the send stopped at a line that went out in part.
  virtual void ShowSendCut(const SendCut& cut) = 0;
  // Rebuilds the data views from the working data.
  virtual void RefreshViews() = 0;
};

}  // namespace theolink
