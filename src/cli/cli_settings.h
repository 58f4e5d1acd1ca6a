#pragma once
// Command-line options shared by the commands: the five display and export settings, the
// positional arguments and --to (defaults: DMS, metre, K 0.00, grid scale 1.00, NEZ), and the
// help and usage steps every command starts with.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "files/file_open.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink::cli {

struct ParsedOptions {
  Settings Values;
  std::vector<std::string> Positional;
  std::string Format;  // --to
  bool Residuals = false;  // --residuals
  bool StationCheck = false;  // --station-check
  bool Overwrite = false;  // --overwrite (with --to allowed only)
  std::string OutputDir;  // --output-dir
  bool Help = false;
};

// The switches (options without a value) a command takes besides --help.
struct OptionSwitches {
  bool ComputeShots = false;  // --compute-shots sets Values.ComputeShots
  bool Residuals = false;     // --residuals
  bool StationCheck = false;  // --station-check, with --length-tolerance and --angle-tolerance
  bool OutputDir = false;     // --output-dir DIR (an option with a value)
};

// Parses "--name value" and "--name=value"; on a bad option or value writes why to err and
// returns nothing. allowTo says whether --to is accepted, switches which switches are.
std::optional<ParsedOptions> ParseOptions(const Args& args, bool allowTo, std::ostream& err,
                                          OptionSwitches switches = {});

// What a command does with its parsed options before its own work: 2 after a bad option
// (ParseOptions has said why), 0 after printing its help for --help, nothing to go on.
std::optional<int> HelpOrBadOptions(const std::optional<ParsedOptions>& options, void (*printHelp)(std::ostream&),
                                    std::ostream& out);

// For a command that takes plain words and no option but --help: prints help and gives 0 when
// args are just --help or -h, prints usage and gives 2 when the words do not fit, else nothing.
std::optional<int> HelpOrUsage(const Args& args, bool wordsFit, std::string_view help, std::string_view usage,
                               std::ostream& out, std::ostream& err);

// The help lines for the unit options.
void PrintUnitOptionsHelp(std::ostream& out);
// The help lines for --station-check and its limits.
void PrintCheckOptionsHelp(std::ostream& out);
// The help lines for --overwrite and "-".
void PrintOutputOptionsHelp(std::ostream& out);

// The text of a message in the program language (UTF-8), one line, as the window shows it.
std::string MessageText(TextId id);
std::string MessageText(const UserMessage& message);

}  // namespace theolink::cli
