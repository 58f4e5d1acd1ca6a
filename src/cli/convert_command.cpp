// convert: open a file as the window's Open does and write it as the window's Save does.
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/convert_batch.h"
#include "cli/commands.h"
#include "cli/load_report.h"
#include "cli/output_file.h"
#include "cli/save_formats.h"
#include "cli/shot_report.h"
#include "files/file_open.h"
#include "files/gts7_export.h"
#include "files/save_writers.h"
#include "records/binary_layout_table.h"

namespace theolink::cli {
namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: theolink-cli convert INPUT OUTPUT --to FORMAT [--overwrite] [options]\n"
         "       theolink-cli convert --to FORMAT --output-dir DIR [--overwrite] [options] INPUT...\n"
         "Opens INPUT as the window's Open does (text or binary job or coordinate file) and\n"
         "writes OUTPUT exactly as Save writes it. With --output-dir each INPUT is written to\n"
         "DIR under its own name with the format's extension; a file that fails is named and\n"
         "the others go on, and the exit status is 0 only when every file was converted.\n"
         "FORMAT depends on what INPUT holds:\n";
  PrintSaveFormats(out);
  out << "Options:\n";
  PrintUnitOptionsHelp(out);
  out << "  --output-dir DIR             convert every INPUT into the existing folder DIR\n";
  out << "  --compute-shots              the coordinate formats of a job (cass, dxf, gts7-coord)\n"
         "                               also hold its SD shots, reduced from station and\n"
         "                               backsight with K and the grid scale; prints a count\n";
  PrintOutputOptionsHelp(out);
}

bool IsJobCoordinateFormat(const SaveFormat& format) {
  return format.Kind == DataKind::Measure && Uses(format, kUsesReducedShots);
}

// The kind of data a binary input opens as, when its extension alone decides it (a binary
// .dat may still be CASS text); none when only its content will tell.
std::optional<DataKind> KindByExtension(const std::string& input) {
  const BinaryLayoutRow* row = FindBinaryLayout(BinaryExtension(input));
  if (row == nullptr || row->MayBeText) return std::nullopt;
  return row->Kind == BinaryFileKind::Measure ? DataKind::Measure : DataKind::Coord;
}

void PrintFormatRefusal(const std::string& format, DataKind dataKind, std::ostream& err) {
  err << "format '" << format << "' is not offered for " << DataKindName(dataKind) << "; choose one of:";
  PrintFormatNames(dataKind, err);
  err << '\n';
}

bool HasData(const WorkingData& data) {
  switch (data.DataKind) {
    case DataKind::Measure:
      return !data.MeasurementList.empty();
    case DataKind::Coord:
      return !data.PointList.empty();
    case DataKind::Code:
      return !data.CodeList.empty();
  }
  return false;
}

// One INPUT to one OUTPUT; the exit status (2: the format does not fit the data).
int ConvertOne(const ParsedOptions& options, const std::string& input, const std::string& output, std::ostream& out,
               std::ostream& err) {
  const Settings& settings = options.Values;

  // What does not need the data is checked before the input is read, once the input is
  // known to open: its own failures come first. An existing OUTPUT without --overwrite is
  // refused after the load, so that an input that is not data is named as such first.
  const ProbeResult probe = ProbeFileKind(input);
  if (probe == ProbeText || probe == ProbeBinary) {
    if (const std::string problem = OutputProblem(output, input, true); !problem.empty()) {
      err << problem << '\n';
      return 1;
    }
    const std::optional<DataKind> kind = probe == ProbeBinary ? KindByExtension(input) : std::nullopt;
    const bool isJob = kind.has_value() && *kind == DataKind::Measure;
    if (kind.has_value() && FindSaveFormat(*kind, options.Format) == nullptr) {
      PrintFormatRefusal(options.Format, *kind, err);
      return 2;
    }
    const SaveFormat* job = FindSaveFormat(DataKind::Measure, options.Format);
    const bool gts7 = job != nullptr && Uses(*job, kNeedsGt7Name);
    if (isJob && gts7 && !IsStandardOutput(output) && !IsGts7FileName(output)) {
      err << output << ": " << MessageText(TextId::Gts7NameNotGt7) << '\n';
      return 1;
    }
  }

  // A job goes from file to file a run of records at a time; anything else, or a job that
  // does not read whole, is opened and saved the ordinary way, which says what is wrong.
  if (probe == ProbeText || probe == ProbeBinary) {
    if (const auto status = WriteJobFileOutput(input, options.Format, output, options.Overwrite, settings, err))
      return *status;
  }

  WorkingData data;
  const OpenOutcome opened = OpenDataFile(data, input, settings);
  if (!ReportOpen(opened, data, input, err)) return 1;
  if (!HasData(data)) {
    err << input << ": " << MessageText(TextId::NoDataToSave) << '\n';
    return 1;
  }

  const SaveFormat* format = FindSaveFormat(data.DataKind, options.Format);
  if (format == nullptr) {
    PrintFormatRefusal(options.Format, data.DataKind, err);
    return 2;
  }

  if (const std::string problem = OutputProblem(output, input, options.Overwrite); !problem.empty()) {
    err << problem << '\n';
    return 1;
  }
  const int status = WriteOutput(data, *format, output, settings, out, err);
  if (status == 0 && settings.ComputeShots && IsJobCoordinateFormat(*format))
    PrintReductionSummary(ReduceShots(data.MeasurementList, settings), output == "-" ? err : out);
  return status;
}

}  // namespace

int RunConvert(const Args& args, std::ostream& out, std::ostream& err) {
  const auto options = ParseOptions(args, true, err, {.ComputeShots = true, .OutputDir = true});
  if (const auto done = HelpOrBadOptions(options, PrintHelp, out)) return *done;
  if (!options->OutputDir.empty()) {
    if (options->Positional.empty() || options->Format.empty()) {
      err << "convert --output-dir needs --to FORMAT and at least one INPUT; see 'theolink-cli convert --help'\n";
      return 2;
    }
    const ConvertFile one = [&](const std::string& input, const std::string& output) {
      return ConvertOne(*options, input, output, out, err);
    };
    return ConvertBatch(options->Positional, options->OutputDir, options->Format, one, out, err);
  }
  if (options->Positional.size() != 2 || options->Format.empty()) {
    err << "convert needs INPUT, OUTPUT and --to FORMAT; see 'theolink-cli convert --help'\n";
    return 2;
  }
  return ConvertOne(*options, options->Positional[0], options->Positional[1], out, err);
}

}  // namespace theolink::cli
