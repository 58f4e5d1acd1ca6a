#include <algorithm>

#include "files/line_loaders.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

// The lines joined by CR LF and trimmed are empty exactly when no line holds a byte above 32.
bool IsBlankText(LineSpan lines) {
  return std::all_of(lines.begin(), lines.end(), [](std::string_view line) { return Trim(line).empty(); });
}

}  // namespace

std::optional<TextId> ClassifyTextLines(WorkingData& data, const LineList& lines, const Settings& settings) {
  return ClassifyTextLines(data, ViewsOf(lines), settings);
}

std::optional<TextId> ClassifyTextLines(WorkingData& data, LineSpan lines, const Settings& settings,
                                        TaskProgress* progress) {
  if (IsBlankText(lines)) return TextId::UnableToOpenEmptyFile;
  if (IsKeywordText(lines) && TryLoadMeasureLines(data, lines, progress)) {
    data.DataKind = DataKind::Measure;
    return std::nullopt;
  }
  if (LoadCassCoordLines(data, lines, settings, progress) || LoadGts7CoordLines(data, lines, settings, progress)) {
    data.DataKind = DataKind::Coord;
    return std::nullopt;
  }
  if (LoadCodeLines(data, lines, progress) || LoadCodeTableLines(data, lines, progress)) {
    data.DataKind = DataKind::Code;
    return std::nullopt;
  }
  return TextId::WrongFileFormat;
}

}  // namespace theolink
