#include "cli/cli_settings.h"

#include <array>
#include <string_view>

#include "app/grid_scale_entry.h"
#include "app/text_table.h"
#include "files/geo_transform.h"
#include "records/value_forms.h"

namespace theolink::cli {
namespace {

// An option that takes one of a few words; the settings keep the word's index, or for --k
// the word itself.
struct ChoiceOption {
  std::string_view Name;
  std::array<std::string_view, 3> Words;  // "" past the last
  std::string_view Message;
  void (*Keep)(Settings& settings, int index, std::string_view word);
};

constexpr std::array<ChoiceOption, 4> kChoiceOptions = {{
    {"--angle", {"dms", "gon", "mil"}, "--angle must be dms, gon or mil",
     [](Settings& s, int index, std::string_view) { s.AngleUnit = index; }},
    {"--distance", {"m", "us-ft", "int-ft"}, "--distance must be m, us-ft or int-ft",
     [](Settings& s, int index, std::string_view) { s.DistanceUnit = index; }},
    {"--k", {"0.00", "0.14", "0.20"}, "--k must be 0.00, 0.14 or 0.20",
     [](Settings& s, int, std::string_view word) { s.KOption = std::string(word); }},
    {"--coord-order", {"nez", "enz"}, "--coord-order must be nez or enz",
     [](Settings& s, int index, std::string_view) { s.CoordOrder = index; }},
}};

const ChoiceOption* FindChoice(std::string_view name) {
  for (const ChoiceOption& option : kChoiceOptions)
    if (option.Name == name) return &option;
  return nullptr;
}

// Takes value for a choice option; false (with its message) when it is not one of the words.
bool KeepChoice(const ChoiceOption& option, std::string_view value, Settings& settings, std::ostream& err) {
  for (std::size_t i = 0; i < option.Words.size(); ++i) {
    if (option.Words[i].empty() || option.Words[i] != value) continue;
    option.Keep(settings, static_cast<int>(i), option.Words[i]);
    return true;
  }
  err << option.Message << '\n';
  return false;
}

}  // namespace

std::optional<ParsedOptions> ParseOptions(const Args& args, bool allowTo, std::ostream& err,
                                          OptionSwitches switches) {
  ParsedOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    if (name == "--help" || name == "-h") {
      parsed.Help = true;
      continue;
    }
    if (name == "--compute-shots" && switches.ComputeShots) {
      parsed.Values.ComputeShots = true;
      continue;
    }
    if (name == "--residuals" && switches.Residuals) {
      parsed.Residuals = true;
      continue;
    }
    if (name == "--station-check" && switches.StationCheck) {
      parsed.StationCheck = true;
      continue;
    }
    if (name == "--overwrite" && allowTo) {
      parsed.Overwrite = true;
      continue;
    }
    if (name.rfind("--", 0) != 0 || name.size() == 2) {
      parsed.Positional.push_back(name);
      continue;
    }
    std::string value;
    if (const std::size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      err << "option " << name << " needs a value\n";
      return std::nullopt;
    }
    if (name == "--to" && allowTo) {
      parsed.Format = value;
    } else if (name == "--output-dir" && switches.OutputDir) {
      if (value.empty()) {
        err << "--output-dir needs a folder\n";
        return std::nullopt;
      }
      parsed.OutputDir = value;
    } else if (const ChoiceOption* choice = FindChoice(name)) {
      if (!KeepChoice(*choice, value, parsed.Values, err)) return std::nullopt;
    } else if (name == "--grid-scale") {
      double scale = 0;
      const bool inRange = TryParseNumber(value, scale) && scale >= 0.9 && scale <= 1.1;
      const std::optional<std::string> text = inRange ? KeptGridScaleText(scale) : std::nullopt;
      if (!text) {
        // Refused, never rounded: the value used must be the value given.
        if (inRange) err << "--grid-scale " << value << ": ";
        err << MessageText(inRange ? TextId::GridScaleDecimals : TextId::GridScaleRange) << '\n';
        return std::nullopt;
      }
      parsed.Values.GridScale = *text;
    } else if ((name == "--length-tolerance" || name == "--angle-tolerance") && switches.StationCheck) {
      double limit = 0;
      if (!TryParseNumber(value, limit) || !(limit > 0)) {
        err << FillText(PickText(TextId::ToleranceNotPositive), {name}) << '\n';
        return std::nullopt;
      }
      (name == "--length-tolerance" ? parsed.Values.LengthTolerance : parsed.Values.AngleTolerance) = limit;
    } else if (name == "--crs") {
      // Checked here, so a batch does not fail file by file for a mistyped code.
      if (const auto problem = CrsProblem(value)) {
        err << "--crs: " << FillText(PickText(*problem), {value}) << '\n';
        return std::nullopt;
      }
      parsed.Values.Crs = value;
    } else {
      err << "unknown option " << name << '\n';
      return std::nullopt;
    }
  }
  return parsed;
}

std::optional<int> HelpOrBadOptions(const std::optional<ParsedOptions>& options, void (*printHelp)(std::ostream&),
                                    std::ostream& out) {
  if (!options) return 2;
  if (!options->Help) return std::nullopt;
  printHelp(out);
  return 0;
}

std::optional<int> HelpOrUsage(const Args& args, bool wordsFit, std::string_view help, std::string_view usage,
                               std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << help;
    return 0;
  }
  if (wordsFit) return std::nullopt;
  err << usage;
  return 2;
}

void PrintUnitOptionsHelp(std::ostream& out) {
  out << "  --angle dms|gon|mil          angle unit (default dms)\n"
         "  --distance m|us-ft|int-ft    distance unit of text read and written (default m)\n"
         "  --k 0.00|0.14|0.20           refraction coefficient K (default 0.00)\n"
         "  --grid-scale X               grid scale factor, 0.9 to 1.1, up to six decimals\n"
         "                               (0.9996, 1.000123; default 1.00)\n"
         "  --coord-order nez|enz        column order of north and east (default nez)\n"
         "  --crs EPSG:NNNN              the projected system the coordinates are in (for\n"
         "                               geojson and kml; e.g. EPSG:4547, CGCS2000 zone CM 114E)\n";
}

void PrintCheckOptionsHelp(std::ostream& out) {
  out << "  --station-check              for a job: per station its orientation, the backsight's\n"
         "                               measured and computed distance, every residual, the\n"
         "                               face I/II differences and a warning for each that passes\n"
         "                               its limit\n"
         "  --length-tolerance M         the limit of residuals and distance differences, in\n"
         "                               metres (default 0.02)\n"
         "  --angle-tolerance S          the limit of collimation and index, in arc seconds\n"
         "                               (default 20)\n";
}

void PrintOutputOptionsHelp(std::ostream& out) {
  out << "  --overwrite                  replace OUTPUT when it exists (never the input file)\n"
         "OUTPUT '-' writes to standard output.\n";
}

std::string MessageText(TextId id) { return std::string(PickText(id)); }

std::string MessageText(const UserMessage& message) {
  std::string text = message.Id            ? MessageText(*message.Id)
                     : message.Caption.empty() ? message.Text
                                               : message.Caption + ": " + message.Text;
  for (const std::string& arg : message.Args) text += ": " + arg;
  return text;
}

}  // namespace theolink::cli
