#pragma once
// One receive or send from a console program: the port set up as the window's, the
// controller, a console display, and Ctrl-C as Stop, all on the calling thread.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "serial/com_port.h"
#include "serial/transfer_console.h"
#include "serial/transfer_controller.h"
#include "serial/transfer_port_host.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

struct TransferPortOptions {
  std::string Port;
  std::int32_t Baud = 115200;
};

// Takes --port DEV and --baud RATE ("--name value" or "--name=value") out of args. False,
// with the reason in error, for a missing value or a rate that is not a positive whole number.
bool TakePortOptions(std::vector<std::string>& args, TransferPortOptions& options, std::string& error);

class ConsoleTransferSession {
 public:
  // Construct on the thread that runs the transfer.
  ConsoleTransferSession(const TransferPortOptions& options, WorkingData& data, std::ostream& out,
                         ConsoleTransferDisplay::TextOf textOf, bool live);

  TransferController& Controller() { return controller_; }
  PortTransferHost& Host() { return host_; }
  ConsoleTransferDisplay& Display() { return display_; }

  // Runs the started transfer to its end and finishes the progress line.
  PortTransferHost::RunEnd Run();

 private:
  QueueDispatcher dispatcher_;
  TComPort port_;
  ConsoleTransferDisplay display_;
  PortTransferHost host_;
  TransferController controller_;
  InterruptStopper stopper_;
};

}  // namespace theolink
