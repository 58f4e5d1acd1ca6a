// convert: open a file as the window's Open does and write it as the window's Save does.
#include <array>
#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "files/file_open.h"
#include "files/line_file.h"
#include "files/save_writers.h"

namespace theolink::cli {
namespace {

struct FormatEntry {
  int DataKind;
  std::string_view Name;
  int FilterIndex;
  std::string_view Description;
};

constexpr std::array<FormatEntry, 12> kFormats = {{
    {DataKindMeasure, "csv", MeasureFilterCsv, "comma-separated measured data"},
    {DataKindMeasure, "cass", MeasureFilterCass, "CASS coordinates of the job's points"},
    {DataKindMeasure, "dxf", MeasureFilterDxf, "DXF drawing of the job's points"},
    {DataKindMeasure, "gt7-hd", MeasureFilterGts7Hd, "GTS-7 measured, observations, horizontal distances (.gt7)"},
    {DataKindMeasure, "gt7-sd", MeasureFilterGts7Sd, "GTS-7 measured, observations, slope distances (.gt7)"},
    {DataKindMeasure, "gt7-all", MeasureFilterGts7All, "GTS-7 measured, all data (.gt7)"},
    {DataKindMeasure, "gts7-coord", MeasureFilterGts7Coord, "GTS-7 coordinates of the job's points"},
    {DataKindMeasure, "wkj", MeasureFilterJob, "keyword-line work file"},
    {DataKindCoord, "cass", CoordFilterCassDat, "CASS coordinates"},
    {DataKindCoord, "dxf", CoordFilterDxf, "DXF drawing"},
    {DataKindCoord, "gts7-coord", CoordFilterGts7, "GTS-7 coordinates"},
    {DataKindCode, "codes", 1, "code list"},
}};

std::string_view KindName(int dataKind) {
  switch (dataKind) {
    case DataKindMeasure:
      return "a measurement job";
    case DataKindCoord:
      return "coordinates";
    default:
      return "codes";
  }
}

void PrintHelp(std::ostream& out) {
  out << "Usage: theolink-cli convert INPUT OUTPUT --to FORMAT [options]\n"
         "Opens INPUT as the window's Open does (text or binary job or coordinate file) and\n"
         "writes OUTPUT exactly as Save writes it. FORMAT depends on what INPUT holds:\n";
  int kind = 0;
  for (const FormatEntry& f : kFormats) {
    if (f.DataKind != kind) {
      kind = f.DataKind;
      out << " for " << KindName(kind) << ":\n";
    }
    out << "  " << f.Name << std::string(12 - f.Name.size(), ' ') << f.Description << '\n';
  }
  out << "Options:\n";
  PrintUnitOptionsHelp(out);
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
  const auto options = ParseOptions(args, true, err);
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
  if (!opened.Messages.empty()) {
    for (const ShownMessage& message : opened.Messages) err << MessageText(message) << '\n';
    return 1;
  }
  if (!HasData(data)) {
    err << MessageText(TextId::NoDataToSave) << '\n';
    return 1;
  }

  const FormatEntry* format = nullptr;
  for (const FormatEntry& f : kFormats)
    if (f.DataKind == data.DataKind && f.Name == options->Format) format = &f;
  if (format == nullptr) {
    err << "format '" << options->Format << "' is not offered for " << KindName(data.DataKind) << "; choose one of:";
    for (const FormatEntry& f : kFormats)
      if (f.DataKind == data.DataKind) err << ' ' << f.Name;
    err << '\n';
    return 2;
  }

  // Lines go straight into a temporary file beside OUTPUT; it replaces OUTPUT only when
  // the whole export went through.
  AtomicLineFile file(output);
  if (!file.IsOpen()) {
    err << MessageText(TextId::WriteFailed) << '\n';
    return 1;
  }
  if (data.DataKind == DataKindMeasure) {
    if (const auto refused = ExportMeasureData(data, file, format->FilterIndex, output, settings)) {
      err << MessageText(*refused) << '\n';
      return 1;
    }
  } else if (data.DataKind == DataKindCoord) {
    ExportCoordData(data, file, format->FilterIndex, settings);
  } else {
    WriteCodeLines(data, file);
  }
  if (!file.Commit()) {
    err << MessageText(TextId::WriteFailed) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace theolink::cli
