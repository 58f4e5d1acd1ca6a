// SIGINT, SIGTERM and SIGHUP during a save remove its temporary file and end the program.
#include <csignal>
#include <iterator>

#include "cli/save_signal_guard.h"
#include "files/file_io.h"

namespace theolink::cli {
namespace {

constexpr int kSaveSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporaryAndEnd(int signal) {
  RemoveTemporaryFilesInFlight();
  // End as the signal would have ended the process, so the caller sees what happened.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

struct SaveSignalGuard::Previous {
  struct sigaction handlers[std::size(kSaveSignals)] {};
  struct sigaction sizeLimit {};
};

SaveSignalGuard::SaveSignalGuard() : previous_(std::make_unique<Previous>()) {
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndEnd;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSaveSignals); ++i) sigaction(kSaveSignals[i], &action, &previous_->handlers[i]);
  // Past a file size limit the write then fails with EFBIG and is reported like a full disk,
  // instead of the signal ending the process beside its temporary file.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, &previous_->sizeLimit);
}

SaveSignalGuard::~SaveSignalGuard() {
  for (std::size_t i = 0; i < std::size(kSaveSignals); ++i) sigaction(kSaveSignals[i], &previous_->handlers[i], nullptr);
  sigaction(SIGXFSZ, &previous_->sizeLimit, nullptr);
}

}  // namespace theolink::cli
