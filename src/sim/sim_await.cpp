#include <iostream>
#include <thread>

#include "sim/pty_device.h"
#include "sim/sim_modes.h"

namespace theolink::sim {

bool AwaitProgram(PtyDevice& pty, const SimOptions& o) {
  std::cout << pty.Path() << std::endl;
  if (!pty.WaitForOpen(o.OpenTimeout)) {
    std::cerr << "theolink-sim: no program opened " << pty.Path() << '\n';
    return false;
  }
  std::this_thread::sleep_for(o.Settle);
  return true;
}

}  // namespace theolink::sim
