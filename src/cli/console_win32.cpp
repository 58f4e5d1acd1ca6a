#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "cli/console.h"

namespace theolink::cli {

void PrepareConsole() {
  // Files written to standard output keep their bytes, as on Linux.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace theolink::cli
