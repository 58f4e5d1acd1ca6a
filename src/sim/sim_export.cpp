#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>
#include <vector>

#include "records/text_lines.h"
#include "sim/pty_device.h"
#include "sim/sim_modes.h"

namespace theolink::sim {

namespace {

bool SendPaced(PtyDevice& pty, const std::string& bytes, const SimOptions& o) {
  const std::size_t step = o.Chunk == 0 ? bytes.size() : o.Chunk;
  for (std::size_t at = 0; at < bytes.size(); at += step) {
    if (at > 0 && o.Pace.count() > 0) std::this_thread::sleep_for(o.Pace);
    if (!pty.WriteAll(bytes.substr(at, step))) return false;
  }
  return true;
}

}  // namespace

int RunExport(const SimOptions& o) {
  std::ifstream in(o.File, std::ios::binary);
  if (!in) {
    std::cerr << "theolink-sim: cannot read " << o.File << '\n';
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Lines end in CR LF, LF or CR, as a text file is read when it is opened.
  const std::vector<std::string> lines = SplitTextLines(text);

  PtyDevice pty;
  if (!AwaitProgram(pty, o)) return 1;

  std::size_t sent = 0;
  for (const std::string& line : lines) {
    if (o.VanishAfter >= 0 && sent == static_cast<std::size_t>(o.VanishAfter)) {
      // Leave in the middle of a line, as a cable pulled out would; the pause first lets the
      // program read what came before, as the hang-up discards what it has not read.
      pty.WriteAll(line.substr(0, line.size() / 2));
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      std::cerr << "theolink-sim: vanished (lines sent: " << sent << ")\n";
      return 0;
    }
    if (sent > 0 && o.Pace.count() > 0) std::this_thread::sleep_for(o.Pace);
    if (!SendPaced(pty, line + o.LineEnd, o)) {
      std::cerr << "theolink-sim: the program closed the device (lines sent: " << sent << ")\n";
      return 1;
    }
    ++sent;
  }
  std::cerr << "theolink-sim: lines sent: " << sent << "\n";
  // Leaving now would hang up the line under bytes the program has not read yet.
  if (!pty.WaitForClose(o.Linger)) std::cerr << "theolink-sim: the program kept the device open\n";
  return 0;
}

}  // namespace theolink::sim
