#include "cli/cli_settings.h"

#include <array>
#include <string_view>

#include "app/grid_scale_entry.h"
#include "app/text_table.h"
#include "files/geo_transform.h"
#include "records/value_forms.h"

namespace theolink::cli {
namespace {

// Index of value in names, or -1.
template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view value) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i] == value) return static_cast<int>(i);
  return -1;
}

constexpr std::array<std::string_view, 3> kAngleNames = {"dms", "gon", "mil"};
constexpr std::array<std::string_view, 3> kDistanceNames = {"m", "us-ft", "int-ft"};
constexpr std::array<std::string_view, 3> kKNames = {"0.00", "0.14", "0.20"};
constexpr std::array<std::string_view, 2> kOrderNames = {"nez", "enz"};

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
    int index = 0;
    if (name == "--to" && allowTo) {
      parsed.Format = value;
    } else if (name == "--output-dir" && switches.OutputDir) {
      if (value.empty()) {
        err << "--output-dir needs a folder\n";
        return std::nullopt;
      }
      parsed.OutputDir = value;
    } else if (name == "--angle") {
      if ((index = IndexOf(kAngleNames, value)) < 0) {
        err << "--angle must be dms, gon or mil\n";
        return std::nullopt;
      }
      parsed.Values.AngleUnit = index;
    } else if (name == "--distance") {
      if ((index = IndexOf(kDistanceNames, value)) < 0) {
        err << "--distance must be m, us-ft or int-ft\n";
        return std::nullopt;
      }
      parsed.Values.DistanceUnit = index;
    } else if (name == "--k") {
      if ((index = IndexOf(kKNames, value)) < 0) {
        err << "--k must be 0.00, 0.14 or 0.20\n";
        return std::nullopt;
      }
      parsed.Values.KOption = std::string(kKNames[static_cast<std::size_t>(index)]);
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
    } else if (name == "--coord-order") {
      if ((index = IndexOf(kOrderNames, value)) < 0) {
        err << "--coord-order must be nez or enz\n";
        return std::nullopt;
      }
      parsed.Values.CoordOrder = index;
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
