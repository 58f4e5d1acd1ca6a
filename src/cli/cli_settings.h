#pragma once
// Command-line options shared by convert and show: the five display and export settings,
// plus the positional arguments and --to. Defaults: DMS, metre, K 0.00, grid scale 1.00, NEZ.
#include <optional>
#include <ostream>
#include <string>
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
  bool Overwrite = false;  // --overwrite (with --to allowed only)
  bool Help = false;
};

// The switches (options without a value) a command takes besides --help.
struct OptionSwitches {
  bool ComputeShots = false;  // --compute-shots sets Values.ComputeShots
  bool Residuals = false;     // --residuals
};

// Parses "--name value" and "--name=value"; on a bad option or value writes why to err and
// returns nothing. allowTo says whether --to is accepted, switches which switches are.
std::optional<ParsedOptions> ParseOptions(const Args& args, bool allowTo, std::ostream& err,
                                          OptionSwitches switches = {});

// The help lines for the unit options.
void PrintUnitOptionsHelp(std::ostream& out);
// The help lines for --overwrite and "-".
void PrintOutputOptionsHelp(std::ostream& out);

// The text of a message in the program language (UTF-8), one line, as the window shows it.
std::string MessageText(TextId id);
std::string MessageText(const ShownMessage& message);

}  // namespace theolink::cli
