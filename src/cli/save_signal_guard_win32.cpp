// Ctrl-C, Ctrl-Break and a closed console during a save remove its temporary file and end
// the program.
#include <windows.h>

#include "cli/save_signal_guard.h"
#include "files/file_io.h"

namespace theolink::cli {
namespace {

BOOL WINAPI RemoveTemporaryAndEnd(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT) return FALSE;
  RemoveTemporaryFilesInFlight();
  // The exit status Windows gives a program ended by Ctrl-C.
  ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace

struct SaveSignalGuard::Previous {};

SaveSignalGuard::SaveSignalGuard() { ::SetConsoleCtrlHandler(RemoveTemporaryAndEnd, TRUE); }

SaveSignalGuard::~SaveSignalGuard() { ::SetConsoleCtrlHandler(RemoveTemporaryAndEnd, FALSE); }

}  // namespace theolink::cli
