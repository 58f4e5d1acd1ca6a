#include "cli/output_file.h"

#include "cli/cli_settings.h"
#include "cli/load_report.h"
#include "app/text_table.h"
#include "cli/save_formats.h"
#include "cli/save_signal_guard.h"
#include "files/file_io.h"
#include "files/file_save.h"
#include "files/geo_transform.h"
#include "files/gts7_export.h"
#include "files/job_file_save.h"
#include "files/line_file.h"
#include "files/line_sink.h"
#include "records/diagnostics.h"

namespace theolink::cli {
namespace {

}  // namespace

bool IsStandardOutput(const std::string& output) { return output == "-"; }

std::string OutputProblem(const std::string& output, const std::string& input, bool overwrite) {
  if (IsStandardOutput(output)) return {};
  if (output.empty()) return "the output file name is empty";
  if (!input.empty() && SameFile(output, input)) return FileStatusText(output, FileStatus{FileFault::SameAsInput, 0});
  const std::string target = SaveTargetPath(output);
  if (const FileStatus kind = CheckSaveTarget(target); !kind.Ok()) return FileStatusText(output, kind);
  if (PathExists(target) && !overwrite) return output + ": already exists; add --overwrite to replace it";
  if (const FileStatus folder = CheckFolderWritable(output); !folder.Ok()) return FileStatusText(output, folder);
  return {};
}

bool CheckReceiveOutput(const std::string& output, const std::string& format, bool overwrite,
                        const Settings& settings, std::ostream& err) {
  if (const std::string problem = OutputProblem(output, {}, overwrite); !problem.empty()) {
    err << "theolink-cli receive: " << problem << '\n';
    return false;
  }
  // The GTS-7 measured formats only write a name ending in ".gt7": say so before the data comes.
  const SaveFormat* job = FindSaveFormat(DataKind::Measure, format);
  if (job != nullptr && Uses(*job, kNeedsGt7Name) && !IsGts7FileName(output)) {
    err << "theolink-cli receive: " << output << ": " << MessageText(TextId::Gts7NameNotGt7) << '\n';
    return false;
  }
  const SaveFormat* points = FindSaveFormat(DataKind::Coord, format);
  if (points != nullptr && Uses(*points, kNeedsCrs)) {
    if (const auto problem = CrsProblem(settings.Crs)) {
      err << "theolink-cli receive: " << output << ": " << FillText(PickText(*problem), {settings.Crs}) << '\n';
      return false;
    }
  }
  return true;
}

namespace {

// The folder took no new file, so the old one was overwritten where it stood.
void WarnIfInPlace(const std::string& output, const FileStatus& status, std::ostream& err) {
  if (status.InPlace)
    err << "theolink-cli: warning: " << output
        << " was written in place, as its folder allows no new file; the write was not atomic\n";
}

// The parser's diagnostic comes with a record that fails, and a job that fails is read again
// the ordinary way, which says it once: while a job is tried in one pass, it is dropped.
class DiagnosticsHeldBack {
 public:
  DiagnosticsHeldBack() : previous_(SetDiagnosticSink([](std::string_view) {})) {}
  ~DiagnosticsHeldBack() { SetDiagnosticSink(previous_); }
  DiagnosticsHeldBack(const DiagnosticsHeldBack&) = delete;
  DiagnosticsHeldBack& operator=(const DiagnosticsHeldBack&) = delete;

 private:
  DiagnosticSink previous_;
};

int ReportSave(const SaveResult& result, const std::string& output, std::ostream& err) {
  switch (result.Code) {
    case SaveCode::Saved:
      WarnIfInPlace(output, result.File, err);
      return 0;
    case SaveCode::FileFailed:
      err << MessageText(TextId::WriteFailed) << '\n' << FileStatusText(output, result.File) << '\n';
      return 1;
    default:
      err << output << ": " << FillText(PickText(result.Refusal.Id), {result.Refusal.Value}) << '\n';
      return 1;
  }
}

}  // namespace

int WriteReceivedLines(const LineList& lines, const std::string& output, std::ostream& out, std::ostream& err) {
  if (IsStandardOutput(output)) {
    StreamLines sink(out, "\r\n");
    for (const std::string& line : lines) sink.Add(line);
    out.flush();
    return 0;
  }
  SaveSignalGuard guard;
  AtomicLineFile file(output);
  for (const std::string& line : lines) file.Add(line);
  const FileStatus status = file.Finish();
  if (!status.Ok()) {
    err << MessageText(TextId::WriteFailed) << '\n' << FileStatusText(output, status) << '\n';
    return 1;
  }
  WarnIfInPlace(output, status, err);
  return 0;
}

int WriteOutput(const WorkingData& data, const SaveFormat& format, const std::string& output, const Settings& settings,
                std::ostream& out, std::ostream& err) {
  SaveResult result;
  if (IsStandardOutput(output)) {
    StreamLines sink(out, "\r\n");
    result = SaveDataTo(data, format, sink, output, settings);
    out.flush();
  } else {
    SaveSignalGuard guard;
    result = SaveDataFile(data, format, output, settings);
  }
  return ReportSave(result, output, err);
}

std::optional<int> WriteJobFileOutput(const std::string& input, const std::string& format, const std::string& output,
                                      bool overwrite, const Settings& settings, std::ostream& err) {
  // Standard output cannot be taken back when the job fails part way.
  const SaveFormat* job = FindSaveFormat(DataKind::Measure, format);
  if (job == nullptr || IsStandardOutput(output) || !OutputProblem(output, input, overwrite).empty())
    return std::nullopt;
  std::size_t cuts = 0;
  std::optional<SaveResult> saved;
  {
    const DiagnosticsHeldBack quiet;
    SaveSignalGuard guard;
    saved = SaveJobFileAs(input, *job, output, settings, cuts);
  }
  if (!saved) return std::nullopt;
  ReportCuts(TextCuts{cuts, {}}, input, err);
  return ReportSave(*saved, output, err);
}

}  // namespace theolink::cli
