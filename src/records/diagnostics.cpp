#include "records/diagnostics.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace theolink {
namespace {

void WriteToStandardOutput(std::string_view line) { std::fwrite(line.data(), 1, line.size(), stdout); }

// Parsing may run on the serial event thread while the window replaces the sink.
std::atomic<DiagnosticSink> currentSink{&WriteToStandardOutput};

}  // namespace

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
  return currentSink.exchange(sink != nullptr ? sink : &WriteToStandardOutput);
}

void ReportConversionError(std::string_view what) {
  std::string line = "Excption: ";
  line += what;
  line += '\n';
  currentSink.load()(line);
}

}  // namespace theolink
