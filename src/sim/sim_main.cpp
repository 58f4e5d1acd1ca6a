// theolink-sim: a total station on a pseudo-terminal, for trying theolink without one.
#include <iostream>
#include <string>
#include <string_view>

#include "records/value_forms.h"
#include "sim/sim_modes.h"
#include "theolink_version.h"

namespace {

using theolink::sim::SimOptions;

constexpr const char* kUsage =
    "Usage: theolink-sim export FILE [options]   send FILE's lines as the instrument exports a job\n"
    "       theolink-sim import OUTFILE [options] request lines as the instrument imports a list\n"
    "       theolink-sim --version\n"
    "Prints the device path to open (a pseudo-terminal), waits until a program opens it, then\n"
    "plays the instrument; at the end it waits for the program to close the device.\n"
    "Options:\n"
    "  --pace MS            pause between lines (export: also between chunks); default 0\n"
    "  --chunk N            export: write each line in pieces of N bytes; default whole lines\n"
    "  --settle MS          pause after the program opens the device; default 300\n"
    "  --open-timeout MS    give up when no program opens the device in time; default 60000\n"
    "  --answer-timeout MS  import: a request unanswered this long ends the import; default 1000\n"
    "  --linger MS          wait this long at the end for the program to close; default 30000\n"
    "  --vanish-after N     leave abruptly after N lines (export: in the middle of the next one)\n"
    "  --stall-after N      import: after N lines keep asking but read nothing for --stall MS\n"
    "  --stall MS           import: how long --stall-after reads nothing; default 0\n"
    "  --request-crlf       import: ask with CR LF instead of a lone CR\n"
    "  --lf-only            export: end lines with LF alone, as a misconfigured instrument does\n";

bool ReadCount(std::string_view text, long& value) {
  double number = 0;
  if (!theolink::TryParseNumber(text, number) || number < 0 || number > 1e9) return false;
  value = static_cast<long>(number);
  return static_cast<double>(value) == number;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "theolink-sim (Theolink II) " << theolink::kProgramVersion << '\n';
    return 0;
  }
  if (argc < 3) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string_view mode = argv[1];
  SimOptions o;
  o.File = argv[2];
  for (int i = 3; i < argc; ++i) {
    const std::string_view opt = argv[i];
    if (opt == "--request-crlf") {
      o.Request = "\r\n";
      continue;
    }
    if (opt == "--lf-only") {
      o.LineEnd = "\n";
      continue;
    }
    long value = 0;
    if (i + 1 >= argc || !ReadCount(argv[i + 1], value)) {
      std::cerr << "theolink-sim: " << opt << " needs a whole number\n" << kUsage;
      return 2;
    }
    ++i;
    const std::chrono::milliseconds ms(value);
    if (opt == "--pace") o.Pace = ms;
    else if (opt == "--chunk") o.Chunk = static_cast<std::size_t>(value);
    else if (opt == "--settle") o.Settle = ms;
    else if (opt == "--open-timeout") o.OpenTimeout = ms;
    else if (opt == "--answer-timeout") o.AnswerTimeout = ms;
    else if (opt == "--linger") o.Linger = ms;
    else if (opt == "--vanish-after") o.VanishAfter = value;
    else if (opt == "--stall-after") o.StallAfter = value;
    else if (opt == "--stall") o.Stall = ms;
    else {
      std::cerr << "theolink-sim: unknown option " << opt << '\n' << kUsage;
      return 2;
    }
  }
  try {
    if (mode == "export") return theolink::sim::RunExport(o);
    if (mode == "import") return theolink::sim::RunImport(o);
  } catch (const std::exception& e) {
    std::cerr << "theolink-sim: " << e.what() << '\n';
    return 1;
  }
  std::cerr << kUsage;
  return 2;
}
