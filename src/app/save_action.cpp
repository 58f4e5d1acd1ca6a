#include "app/save_action.h"

#include "files/file_save.h"
#include "files/line_file.h"

namespace theolink {
namespace {

// A folder that takes no new file gets its file rewritten where it stands: saved, but a
// failure part way would have cost the old content.
UserMessage FileNotice(const std::string& path, const FileStatus& status) {
  if (!status.Ok()) return TableMessage(TextId::WriteFailed, {FileStatusText(path, status)});
  if (status.InPlace) return TableMessage(TextId::WrittenInPlace, {path});
  return {};
}

}  // namespace

UserMessage SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                            const Settings& settings, TaskProgress* progress) {
  // The dialog offers only the kind's rows; an index past them means its first.
  const SaveFormat* format = SaveFormatAt(data.DataKind, filterIndex);
  if (format == nullptr) format = SaveFormatAt(data.DataKind, 1);
  const SaveResult result = SaveDataFile(data, *format, path, settings, progress);
  switch (result.Code) {
    case SaveCode::Saved:
    case SaveCode::FileFailed:
      return FileNotice(path, result.File);
    case SaveCode::Gts7NameNotGt7:
    case SaveCode::MilNotSupported:
    case SaveCode::Refused:
      break;
  }
  UserMessage refused = TableMessage(result.Refusal.Id, {result.Refusal.Value});
  refused.Code = static_cast<int>(result.Code);
  return refused;
}

UserMessage RunSave(const SaveJob& job, const WorkingData& data, LineSpan viewLines, const Settings& settings,
                    TaskProgress* progress) {
  if (job.viewTextOnly) return SaveViewLines(viewLines, job.file.path, progress);
  return SaveWorkingData(data, job.file.filterIndex, job.file.path, settings, progress);
}

UserMessage SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress) {
  AtomicLineFile file(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ReportEvery(progress, i, lines.size());
    file.Add(lines[i]);
  }
  return FileNotice(path, file.Finish());
}

}  // namespace theolink
