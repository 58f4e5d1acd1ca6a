#include "files/file_save.h"

#include "files/line_file.h"
#include "files/save_writers.h"

namespace theolink {
namespace {

SaveResult FromRefusal(const ExportRefusal& refusal) {
  const SaveCode code = refusal.Id == TextId::MilNotSupported  ? SaveCode::MilNotSupported
                        : refusal.Id == TextId::Gts7NameNotGt7 ? SaveCode::Gts7NameNotGt7
                                                               : SaveCode::Refused;
  return SaveResult{code, {}, refusal};
}

}  // namespace

SaveResult SaveDataFile(const WorkingData& data, const SaveFormat& format, const std::string& path,
                        const Settings& settings, TaskProgress* progress) {
  // Lines go straight into the temporary file, so a large export holds no second copy.
  AtomicLineFile file(path);
  if (!file.IsOpen()) return SaveResult{SaveCode::FileFailed, file.Status()};
  std::size_t written = 0;
  if (const auto refused = ExportData(data, format, file, path, settings, progress, &written))
    return FromRefusal(*refused);
  const FileStatus status = file.Finish();
  if (!status.Ok()) return SaveResult{SaveCode::FileFailed, status};
  SaveResult saved{SaveCode::Saved, status};  // InPlace asks for a warning
  saved.Written = written;
  return saved;
}

SaveResult SaveDataTo(const WorkingData& data, const SaveFormat& format, LineSink& sink,
                      const std::string& fileName, const Settings& settings) {
  if (const auto refused = ExportData(data, format, sink, fileName, settings))
    return FromRefusal(*refused);
  return {};
}

}  // namespace theolink
