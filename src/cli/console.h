#pragma once
// The console the program writes to.

namespace theolink::cli {

// Makes the console show the program's UTF-8 texts: on Windows its output code page
// becomes UTF-8 (65001), and standard output and error are binary (no LF to CR LF), so
// what goes to a file is the bytes Linux writes. Nothing to do on POSIX.
void PrepareConsole();
// True when standard error is a terminal (a console window), where progress is redrawn.
bool StandardErrorIsTerminal();

}  // namespace theolink::cli
