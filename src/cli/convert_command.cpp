// convert: open a file as the window's Open does and write it as the window's Save does.
#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/load_report.h"
#include "cli/output_file.h"
#include "cli/save_formats.h"
#include "cli/shot_report.h"
#include "files/file_open.h"
#include "files/save_writers.h"

namespace theolink::cli {
namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: theolink-cli convert INPUT OUTPUT --to FORMAT [--overwrite] [options]\n"
         "Opens INPUT as the window's Open does (text or binary job or coordinate file) and\n"
         "writes OUTPUT exactly as Save writes it. FORMAT depends on what INPUT holds:\n";
  PrintSaveFormats(out);
  out << "Options:\n";
  PrintUnitOptionsHelp(out);
  out << "  --compute-shots              the coordinate formats of a job (cass, dxf, gts7-coord)\n"
         "                               also hold its SD shots, reduced from station and\n"
         "                               backsight with K and the grid scale; prints a count\n";
}

bool IsJobCoordinateFormat(const SaveFormat& format) {
  return format.DataKind == DataKindMeasure &&
         (format.FilterIndex == MeasureFilterCass || format.FilterIndex == MeasureFilterDxf ||
          format.FilterIndex == MeasureFilterGts7Coord);
}

bool HasData(const WorkingData& data) {
  switch (data.DataKind) {
    case DataKindMeasure:
      return !data.MeasurementList.empty();
    case DataKindCoord:
      return !data.PointList.empty();
    case DataKindCode:
      return !data.CodeList.empty();
    default:
      return false;
  }
}

}  // namespace

int RunConvert(const Args& args, std::ostream& out, std::ostream& err) {
  const auto options = ParseOptions(args, true, err, {.ComputeShots = true});
  if (!options) return 2;
  if (options->Help) {
    PrintHelp(out);
    return 0;
  }
  if (options->Positional.size() != 2 || options->Format.empty()) {
    err << "convert needs INPUT, OUTPUT and --to FORMAT; see 'theolink-cli convert --help'\n";
    return 2;
  }
  const std::string& input = options->Positional[0];
  const std::string& output = options->Positional[1];
  const Settings& settings = options->Values;

  WorkingData data;
  const OpenOutcome opened = OpenDataFile(data, input, settings);
  if (!ReportOpen(opened, data, input, err)) return 1;
  if (!HasData(data)) {
    err << input << ": " << MessageText(TextId::NoDataToSave) << '\n';
    return 1;
  }

  const SaveFormat* format = FindSaveFormat(data.DataKind, options->Format);
  if (format == nullptr) {
    err << "format '" << options->Format << "' is not offered for " << DataKindName(data.DataKind)
        << "; choose one of:";
    PrintFormatNames(data.DataKind, err);
    err << '\n';
    return 2;
  }

  if (const std::string problem = OutputProblem(output, input, options->Overwrite); !problem.empty()) {
    err << problem << '\n';
    return 1;
  }
  const int status = WriteOutput(data, format->FilterIndex, output, settings, out, err);
  if (status == 0 && settings.ComputeShots && IsJobCoordinateFormat(*format))
    PrintReductionSummary(ReduceShots(data.MeasurementList, settings), output == "-" ? err : out);
  return status;
}

}  // namespace theolink::cli
