#pragma once
// The two things the simulated instrument does: export a job, import a list.
#include <chrono>
#include <string>

namespace theolink::sim {

class PtyDevice;

struct SimOptions {
  std::string File;                                  // export: lines to send; import: output
  std::chrono::milliseconds Pace{0};                 // pause between writes
  std::size_t Chunk = 0;                             // bytes per write, 0 = whole lines
  std::chrono::milliseconds Settle{300};             // after the program opens the device
  std::chrono::milliseconds OpenTimeout{60000};      // how long to wait for the program
  std::chrono::milliseconds AnswerTimeout{1000};     // import: silence that ends it
  std::chrono::milliseconds Linger{30000};           // wait for the program to close
  long VanishAfter = -1;                             // lines before leaving abruptly, -1 never
  long StallAfter = -1;                              // import: lines before it stops reading
  std::chrono::milliseconds Stall{0};                // import: how long it asks without reading
  std::string Request = "\r";                        // import: the request text
  std::string LineEnd = "\r\n";                      // export: what ends each line
};

// Prints the device path, waits until a program opens it and lets the line settle; false,
// after saying so on standard error, when none came in time.
bool AwaitProgram(PtyDevice& pty, const SimOptions& options);

// Both print the device path on standard output first and return the exit status.
int RunExport(const SimOptions& options);
int RunImport(const SimOptions& options);

}  // namespace theolink::sim
