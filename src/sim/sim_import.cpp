#include <fstream>
#include <iostream>
#include <thread>

#include "sim/pty_device.h"
#include "sim/sim_modes.h"

namespace theolink::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Collects one answered line (up to its CR LF), or what came before the silence.
std::string ReadAnswer(PtyDevice& pty, std::chrono::milliseconds silence) {
  std::string answer;
  for (;;) {
    const std::string part = pty.ReadSome(silence);
    if (part.empty()) return answer;
    answer += part;
    if (answer.size() >= 2 && answer.compare(answer.size() - 2, 2, "\r\n") == 0) return answer;
  }
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

int RunImport(const SimOptions& o) {
  PtyDevice pty;
  if (!AwaitProgram(pty, o)) return 1;

  std::string received;
  long lines = 0;
  bool vanished = false;
  for (;;) {
    if (o.VanishAfter >= 0 && lines >= o.VanishAfter) {
      vanished = true;
      break;
    }
    if (lines > 0 && o.Pace.count() > 0) std::this_thread::sleep_for(o.Pace);
    std::string answer;
    if (lines == o.StallAfter) {
      // Busy: the requests go on, the program's lines pile up unread.
      const auto resume = Clock::now() + o.Stall;
      while (Clock::now() < resume && pty.WriteAll(o.Request)) std::this_thread::sleep_for(std::chrono::microseconds(200));
      for (std::string part; !(part = pty.ReadSome(std::chrono::milliseconds(700))).empty();) answer += part;
      if (answer.empty()) break;
      received += answer;
      // Whole lines count; a line cut short ends the import below.
      for (std::size_t at = 0; (at = answer.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
      if (answer.size() < 2 || answer.compare(answer.size() - 2, 2, "\r\n") != 0) {
        std::cerr << "theolink-sim: an answer ended without CR LF\n";
        break;
      }
      continue;
    }
    if (!pty.WriteAll(o.Request)) break;
    answer = ReadAnswer(pty, o.AnswerTimeout);
    if (answer.empty()) break;
    received += answer;
    ++lines;
    if (answer.size() < 2 || answer.compare(answer.size() - 2, 2, "\r\n") != 0) {
      std::cerr << "theolink-sim: an answer ended without CR LF\n";
      break;
    }
  }
  if (!WriteFile(o.File, received)) {
    std::cerr << "theolink-sim: cannot write " << o.File << '\n';
    return 1;
  }
  std::cerr << "theolink-sim: lines received: " << lines << "\n";
  if (vanished) return 0;
  if (!pty.WaitForClose(o.Linger)) std::cerr << "theolink-sim: the program kept the device open\n";
  return 0;
}

}  // namespace theolink::sim
