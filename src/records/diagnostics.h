#pragma once
// The one diagnostic line the parser writes ("Excption: <what>"), through a sink that is
// standard output unless replaced, so a fuzzer or the window can take the line instead.
#include <string_view>

namespace theolink {

// Receives one whole line, its '\n' included. Must not throw.
using DiagnosticSink = void (*)(std::string_view line);

// Installs sink (nullptr: standard output again) and returns the sink it replaces.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

// Sends "Excption: <what>\n" to the current sink. The spelling is what tools watching the
// output look for.
void ReportConversionError(std::string_view what);

}  // namespace theolink
