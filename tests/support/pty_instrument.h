#pragma once
// The instrument's end of a real pseudo-terminal for tests: the simulator's device, with
// the port under test opening the other side.
#include <termios.h>

#include <chrono>
#include <string>

#include "sim/pty_device.h"

namespace theolink::test {

class PtyInstrument {
 public:
  // Throws std::runtime_error when no pseudo-terminal can be made.
  PtyInstrument();

  const std::string& Path() const { return device_.Path(); }
  int Master() const { return device_.Descriptor(); }

  // Writes all of bytes (whether or not the port is open yet); throws when it cannot.
  void Send(const std::string& bytes);
  // What the port wrote, until want bytes came or timeout passed.
  std::string Receive(std::size_t want, std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
  // Reads until what came ends with CR LF or limit passes.
  std::string ReceiveLine(std::chrono::milliseconds limit);
  // The line settings of the port's side, as the port applied them.
  termios Settings() const;
  // Hangs up the line.
  void CloseMaster() { device_.Close(); }

 private:
  sim::PtyDevice device_;
};

}  // namespace theolink::test
