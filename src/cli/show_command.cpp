// show: print what the window shows for a file: the text view, or the grid, and the count.
#include <ostream>

#include "files/text_encoding.h"
#include "app/text_table.h"
#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/load_report.h"
#include "cli/shot_report.h"
#include "files/data_views.h"
#include "files/file_open.h"

namespace theolink::cli {
namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: theolink-cli show INPUT [options]\n"
         "Opens INPUT as the window's Open does and prints what the window then shows: the\n"
         "text view's lines for a measurement job, or the grid's header and rows (columns\n"
         "separated by tabs) for coordinates and codes; then the \"Total: \" count.\n"
         "Options:\n";
  PrintUnitOptionsHelp(out);
  out << "  --residuals                  for a job: one row per SC shot with an observation,\n"
         "                               its stored minus its computed coordinates and the\n"
         "                               largest of them (K and grid scale as set), then the\n"
         "                               station check of --station-check\n";
  PrintCheckOptionsHelp(out);
}

// The terminal takes UTF-8; names and codes in the data are GBK, as the window reads them.
std::string ForTerminal(const std::string& data) { return IsValidUtf8(data) ? data : GbkToUtf8(data); }

// The text view's lines printed as they are made: a large job is not held twice.
class TerminalLines final : public LineSink {
 public:
  explicit TerminalLines(std::ostream& out) : out_(out) {}
  void Add(std::string_view line) override { out_ << ForTerminal(std::string(line)) << '\n'; }

 private:
  std::ostream& out_;
};

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << '\t';
    out << ForTerminal(cells[i]);
  }
  out << '\n';
}

}  // namespace

int RunShow(const Args& args, std::ostream& out, std::ostream& err) {
  const auto options = ParseOptions(args, false, err, {.Residuals = true, .StationCheck = true});
  if (const auto done = HelpOrBadOptions(options, PrintHelp, out)) return *done;
  if (options->Positional.size() != 1) {
    err << "show needs one INPUT; see 'theolink-cli show --help'\n";
    return 2;
  }
  const Settings& settings = options->Values;
  WorkingData data;
  const OpenOutcome opened = OpenDataFile(data, options->Positional[0], settings);
  if (!ReportOpen(opened, data, options->Positional[0], err)) return 1;

  if (options->Residuals || options->StationCheck) {
    if (data.DataKind != DataKind::Measure) {
      const char* option = options->Residuals ? "--residuals" : "--station-check";
      err << FillText(PickText(TextId::NeedsMeasurementJob), {option}) << '\n';
      return 1;
    }
    // The residuals come with the set-ups they are judged by.
    if (options->Residuals) {
      PrintResiduals(data, settings, out);
      out << '\n';
    }
    PrintStationCheck(data, settings, out);
    return 0;
  }

  if (data.DataKind == DataKind::Measure) {
    TerminalLines lines(out);
    WriteMeasureTextLines(data, settings, lines);
  } else {
    std::vector<std::string> header;
    for (TextId id : GridHeaderIds(data.DataKind, settings)) header.push_back(MessageText(id));
    PrintRow(out, header);
    if (data.DataKind == DataKind::Coord) {
      for (std::size_t i = 0; i < data.PointList.size(); ++i) PrintRow(out, CoordGridRow(data.PointList[i], i + 1, settings));
      if (data.PointList.empty()) PrintRow(out, {RowLabel(1), "", "", "", "", ""});
    } else {
      for (std::size_t i = 0; i < data.CodeList.size(); ++i) PrintRow(out, CodeGridRow(data.CodeList[i], i + 1));
      if (data.CodeList.empty()) PrintRow(out, {RowLabel(1), ""});
    }
  }
  if (const auto count = ShownCount(data)) out << MessageText(TextId::TotalPrefix) << *count << '\n';
  return 0;
}

}  // namespace theolink::cli
