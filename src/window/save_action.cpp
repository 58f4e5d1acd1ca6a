#include "window/save_action.h"

#include "files/line_file.h"
#include "files/save_writers.h"

namespace theolink {

std::optional<TextId> SaveWorkingData(WorkingData& data, int filterIndex, const std::string& path,
                                      const Settings& settings) {
  AtomicLineFile file(path);
  if (!file.IsOpen()) return TextId::WriteFailed;
  switch (data.DataKind) {
    case DataKindMeasure:
      if (const auto refused = ExportMeasureData(data, file, filterIndex, path, settings)) return refused;
      break;
    case DataKindCoord:
      ExportCoordData(data, file, filterIndex, settings);
      break;
    default:
      WriteCodeLines(data, file);
      break;
  }
  if (!file.Commit()) return TextId::WriteFailed;
  return std::nullopt;
}

std::optional<TextId> SaveViewLines(const LineList& lines, const std::string& path) {
  if (!WriteTextLines(path, lines)) return TextId::WriteFailed;
  return std::nullopt;
}

}  // namespace theolink
