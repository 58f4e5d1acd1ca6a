#pragma once
// A save's guard against being ended half-way.
#include <memory>

namespace theolink::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP (on Windows Ctrl-C, Ctrl-Break and a closed
// console) remove the temporary files of the saves in flight before the process ends, so
// the old file stays as it was; the previous handlers come back afterwards.
class SaveSignalGuard {
 public:
  SaveSignalGuard();
  ~SaveSignalGuard();
  SaveSignalGuard(const SaveSignalGuard&) = delete;
  SaveSignalGuard& operator=(const SaveSignalGuard&) = delete;

 private:
  struct Previous;
  std::unique_ptr<Previous> previous_;
};

}  // namespace theolink::cli
