#pragma once
// What the transfer controller needs from its surroundings: the port, one timer, the status
// bar, the controls it enables and disables, message boxes and the data views.
// PortTransferHost provides it over a real port for the window and the command line alike;
// tests provide a scripted one.
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
  // Writes text, returning when the port took it or its write time-out passed.
  virtual void WritePort(const std::string& text) = 0;

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
  // Rebuilds the data views from the working data.
  virtual void RefreshViews() = 0;
};

}  // namespace theolink
