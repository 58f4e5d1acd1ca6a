#include "window/save_action.h"

#include "files/file_save.h"
#include "files/line_file.h"

namespace theolink {
namespace {

// A folder that takes no new file gets its file rewritten where it stands: saved, but a
// failure part way would have cost the old content.
std::optional<SaveNotice> FileNotice(const std::string& path, const FileStatus& status) {
  if (!status.Ok()) return SaveNotice{TextId::WriteFailed, FileStatusText(path, status)};
  if (status.InPlace) return SaveNotice{TextId::WrittenInPlace, path};
  return std::nullopt;
}

}  // namespace

std::optional<SaveNotice> SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                                          const Settings& settings, TaskProgress* progress) {
  // The dialog offers only the kind's rows; an index past them means its first.
  const SaveFormat* format = SaveFormatAt(data.DataKind, filterIndex);
  if (format == nullptr) format = SaveFormatAt(data.DataKind, 1);
  const SaveResult result = SaveDataFile(data, *format, path, settings, progress);
  switch (result.Code) {
    case SaveCode::Saved:
    case SaveCode::FileFailed:
      return FileNotice(path, result.File);
    default:
      return SaveNotice{result.Refusal.Id, {}, result.Refusal.Value};
  }
}

std::optional<SaveNotice> SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress) {
  AtomicLineFile file(path);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ReportEvery(progress, i, lines.size());
    file.Add(lines[i]);
  }
  return FileNotice(path, file.Finish());
}

}  // namespace theolink
