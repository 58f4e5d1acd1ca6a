// theolink-cli: the window's file and transfer operations from the command line.
#include <iostream>
#include <iterator>
#include <string_view>
#include <vector>

#include "cli/cli_language.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "records/diagnostics.h"
#include "records/visible_text.h"
#include "theolink_version.h"

namespace {

using theolink::cli::Command;

constexpr Command kCommands[] = {
    {"check", "check FILE: parse a keyword-line job or work file and count its records", theolink::cli::RunCheck},
    {"dump", "dump FILE: print the keyword lines read from a binary job or coordinate file", theolink::cli::RunDump},
    {"convert", "convert INPUT OUTPUT --to FORMAT [--angle dms|gon|mil] [--distance m|us-ft|int-ft] [--k 0.00|0.14|0.20] [--grid-scale X] [--coord-order nez|enz] [--crs EPSG:NNNN] [--overwrite] (or --output-dir DIR INPUT...): open a file as the window does and save it as FORMAT (job: csv cass dxf gt7-hd gt7-sd gt7-all gts7-coord wkj; coordinates: cass dxf gts7-coord; both: landxml geojson kml gis-csv gis-csv-sc gis-csv-tab; codes: codes)", theolink::cli::RunConvert},
    {"show", "show INPUT [unit options as convert]: print what the window shows for a file (text view or grid) and its count", theolink::cli::RunShow},
    {"receive", "receive --port DEV [--baud RATE] [--to FORMAT] [--overwrite] [--no-raw-copy] OUTPUT: take a job from the instrument (a raw copy of the bytes is kept)", theolink::cli::RunReceive},
    {"send", "send --port DEV [--baud RATE] INPUT: upload a coordinate or code list to the instrument", theolink::cli::RunSend},
    {"ports", "ports: list the serial ports present, one device path per line", theolink::cli::RunPorts},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: theolink-cli [--lang zh|en] COMMAND [ARGS...]\n"
         "       theolink-cli --version\n"
         "Moves survey data between a total station and files. Commands:\n";
  for (const Command& c : kCommands) out << "  " << c.Summary << '\n';
  out << "Run 'theolink-cli COMMAND --help' for a command's options.\n"
         "Every command takes --lang zh|en (default: the window's Language, else the locale).\n";
}

// The parser's diagnostic is no data: standard output carries what show prints. Its text
// may come from a file, so control bytes are made visible.
void DiagnosticToStandardError(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  std::cerr << theolink::VisibleText(line) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  theolink::cli::PrepareConsole();
  theolink::SetDiagnosticSink(&DiagnosticToStandardError);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (!theolink::cli::ApplyLanguageOption(words, std::cerr)) return 2;
  if (words.empty()) {
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string_view name = words[0];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  if (name == "--version") {
    std::cout << "theolink-cli (Theolink II) " << theolink::kProgramVersion << '\n';
    return 0;
  }
  for (const Command& c : kCommands) {
    if (name == c.Name) {
      const theolink::cli::Args args(words.begin() + 1, words.end());
      try {
        return c.Run(args, std::cout, std::cerr);
      } catch (const std::exception& e) {
        std::cerr << "theolink-cli " << c.Name << ": " << e.what() << '\n';
        return 1;
      }
    }
  }
  std::cerr << "theolink-cli: unknown command '" << name << "'\n";
  PrintUsage(std::cerr);
  return 2;
}
