#pragma once
// What a transfer shows and enables: the window's status bar, buttons, message boxes and
// data views, or their console counterparts. The window and the command line each
// provide one.
#include <cstddef>
#include <string>

#include "records/text_id.h"

namespace theolink {

// The controls a transfer enables and disables.
enum class TransferControl {
  OpenBtn,
  SaveBtn,
  SendBtn,
  ReceiveBtn,
  StopBtn,
  ComportSettingGroup,
  TransControlGroup,
  FileControlGroup,
};

// A send that stopped because a line went out only in part.
struct SendCut {
  std::size_t Line = 0;        // the line cut short, counted from 1
  std::size_t Total = 0;       // lines the send had
  std::string Name;            // the point's name, or the code
  std::size_t WholeLines = 0;  // lines the instrument got whole
  std::string Error;           // the port's error; empty when the write's time limit passed
};

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
