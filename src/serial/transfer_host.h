#pragma once
// What the transfer controller needs from its surroundings: the port and one timer, besides
// what a TransferView shows (status bar, controls, message boxes, data views).
// PortTransferHost provides it over a real port for the window and the command line alike;
// tests provide a scripted one.
#include <string>

#include "serial/transfer_view.h"

namespace theolink {

class TransferHost : public TransferView {
 public:
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
};

}  // namespace theolink
