#include <unistd.h>

#include "cli/console.h"

namespace theolink::cli {

void PrepareConsole() {}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace theolink::cli
