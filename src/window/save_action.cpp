#include "window/save_action.h"

#include "files/file_save.h"
#include "files/line_file.h"

namespace theolink {

std::optional<SaveFailure> SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                                           const Settings& settings) {
  const SaveResult result = SaveDataFile(data, data.DataKind, filterIndex, path, settings);
  switch (result.Code) {
    case SaveCode::Saved:
      return std::nullopt;
    case SaveCode::FileFailed:
      return SaveFailure{TextId::WriteFailed, FileStatusText(path, result.File)};
    default:
      return SaveFailure{SaveRefusalText(result.Code), {}};
  }
}

std::optional<SaveFailure> SaveViewLines(const LineList& lines, const std::string& path) {
  AtomicLineFile file(path);
  for (const std::string& line : lines) file.Add(line);
  if (const FileStatus status = file.Finish(); !status.Ok()) return SaveFailure{TextId::WriteFailed, FileStatusText(path, status)};
  return std::nullopt;
}

}  // namespace theolink
