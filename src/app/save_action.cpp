#include "app/save_action.h"

#include "app/text_table.h"
#include "app/window_texts.h"
#include "files/file_save.h"
#include "files/line_file.h"

namespace theolink {
namespace {

// A folder that takes no new file gets its file rewritten where it stands: saved, but a
// failure part way would have cost the old content.
SaveReport FileReport(const std::string& path, const FileStatus& status, SavedKind kind, std::size_t count) {
  if (!status.Ok()) return {TableMessage(TextId::WriteFailed, {FileStatusText(path, status)}), std::nullopt};
  SaveReport report{{}, SaveSummary{kind, count, path}};
  if (status.InPlace) report.Message = TableMessage(TextId::WrittenInPlace, {path});
  return report;
}

SavedKind KindWritten(const SaveFormat& format) {
  if (format.Kind == DataKind::Code) return SavedKind::Codes;
  return format.Writer == SaveWriter::Points ? SavedKind::Points : SavedKind::Records;
}

}  // namespace

SaveReport SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                           const Settings& settings, TaskProgress* progress) {
  // The dialog offers only the kind's rows; an index past them means its first.
  const SaveFormat* format = SaveFormatAt(data.DataKind, filterIndex);
  if (format == nullptr) format = SaveFormatAt(data.DataKind, 1);
  const SaveResult result = SaveDataFile(data, *format, path, settings, progress);
  switch (result.Code) {
    case SaveCode::Saved:
    case SaveCode::FileFailed:
      return FileReport(path, result.File, KindWritten(*format), result.Written);
    case SaveCode::Gts7NameNotGt7:
    case SaveCode::MilNotSupported:
    case SaveCode::Refused:
      break;
  }
  UserMessage refused = TableMessage(result.Refusal.Id, {result.Refusal.Value});
  refused.Code = static_cast<int>(result.Code);
  return {refused, std::nullopt};
}

SaveReport RunSave(const SaveJob& job, const WorkingData& data, LineSpan viewLines, const Settings& settings,
                   TaskProgress* progress) {
  if (job.viewTextOnly) return SaveViewLines(viewLines, job.file.path, progress);
  return SaveWorkingData(data, job.file.filterIndex, job.file.path, settings, progress);
}

SaveReport SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress) {
  AtomicLineFile file(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ReportEvery(progress, i, lines.size());
    file.Add(lines[i]);
  }
  return FileReport(path, file.Finish(), SavedKind::Lines, lines.size());
}

std::string SaveSummaryText(const SaveSummary& summary, std::string_view shownPath, int language) {
  static constexpr TextId kOne[] = {TextId::SavedPoint, TextId::SavedRecord, TextId::SavedCode, TextId::SavedLine};
  static constexpr TextId kMany[] = {TextId::SavedPoints, TextId::SavedRecords, TextId::SavedCodes,
                                     TextId::SavedLines};
  const auto kind = static_cast<std::size_t>(summary.Kind);
  const TextId id = summary.Count == 1 ? kOne[kind] : kMany[kind];
  return FillText(PickText(id, language), {CountText(summary.Count, language), shownPath});
}

}  // namespace theolink
