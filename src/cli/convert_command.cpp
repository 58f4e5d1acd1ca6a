// convert: open a file as the window's Open does and write it as the window's Save does.
#include <ostream>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/save_formats.h"
#include "files/file_open.h"
#include "files/line_file.h"

namespace theolink::cli {
namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: theolink-cli convert INPUT OUTPUT --to FORMAT [options]\n"
         "Opens INPUT as the window's Open does (text or binary job or coordinate file) and\n"
         "writes OUTPUT exactly as Save writes it. FORMAT depends on what INPUT holds:\n";
  PrintSaveFormats(out);
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
    for (const ShownMessage& message : opened.Messages) err << input << ": " << MessageText(message) << '\n';
    return 1;
  }
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

  // Lines go straight into a temporary file beside OUTPUT; it replaces OUTPUT only when
  // the whole export went through.
  AtomicLineFile file(output);
  if (!file.IsOpen()) {
    err << output << ": " << MessageText(TextId::WriteFailed) << '\n';
    return 1;
  }
  if (const auto refused = ExportInFormat(data, *format, file, output, settings)) {
    err << output << ": " << MessageText(*refused) << '\n';
    return 1;
  }
  if (!file.Commit()) {
    err << output << ": " << MessageText(TextId::WriteFailed) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace theolink::cli
