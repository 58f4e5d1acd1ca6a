#pragma once
// What the transfer controller needs from its surroundings: the port, one timer, the status
// bar, the controls it enables and disables, message boxes and the data views.
// PortTransferHost provides it over a real port for the window and the command line alike;
// tests provide a scripted one.
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

class TransferHost {
 public:
  virtual ~TransferHost() = default;

  // Opens the port; does nothing when it is open. Throws when it cannot be opened or set up.
  virtual void OpenPort() = 0;
  // Closes the port; never throws (a failure to close is the host's to report).
  virtual void ClosePort() = 0;
  virtual bool PortConnected() const = 0;
  // Reads up to count bytes that are waiting; returns at once with what was read.
  virtual std::string ReadPort(int count) = 0;
  // Writes text, returning the bytes the port took: all of them, or fewer when its write
  // time-out (the line's own time limit) passed first. Throws when the write fails.
  virtual int WritePort(const std::string& text) = 0;

  // (Re)starts the end-of-transfer timer with a fresh count of interval_ms.
  virtual void StartTimer(int interval_ms) = 0;
  virtual void StopTimer() = 0;

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
