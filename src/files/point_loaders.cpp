#include <string_view>
#include <vector>

#include "files/field_splitter.h"
#include "files/line_loaders.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

void InstallPoints(WorkingData& data, std::vector<PointRecord>&& points, const TextCutter& cutter) {
  ClearCoordData(data);
  ClearMeasureData(data);
  ClearCodeData(data);
  data.Cuts = cutter.Finish(points);
  data.PointList = std::move(points);
}

// Shared frame of the two five-field layouts; the indexes say where each value sits.
struct FiveFieldLayout {
  int Name, Code, East, North, Elevation;
};

bool LoadFiveFieldLines(WorkingData& data, LineSpan lines, const Settings& settings, FiveFieldLayout layout,
                        TaskProgress* progress) {
  if (lines.empty()) return false;
  const int form = DistanceFormCode(settings);
  std::vector<PointRecord> points;
  points.reserve(lines.size());
  TextCutter cutter;
  LineList quoted;
  std::vector<std::string_view> fields;  // views into the line, or into quoted
  for (const std::string_view line : lines) {
    ReportEvery(progress, points.size(), lines.size());
    if (!SplitUnquotedFields(Trim(line), ',', fields)) {
      SplitQuotedFields(Trim(line), ',', quoted);
      fields.assign(quoted.begin(), quoted.end());
    }
    if (fields.size() != 5) return false;
    PointRecord point;
    point.Name.Assign(cutter.CutName(fields[layout.Name], points.size()));
    point.Code.Assign(cutter.Cut(fields[layout.Code]));
    try {
      point.East = ParseDistance(fields[layout.East], form);
      point.North = ParseDistance(fields[layout.North], form);
      point.Elevation = ParseDistance(fields[layout.Elevation], form);
    } catch (const ConversionError&) {
      return false;
    }
    points.push_back(point);
  }
  InstallPoints(data, std::move(points), cutter);
  return true;
}

}  // namespace

bool LoadCassCoordLines(WorkingData& data, const LineList& lines, const Settings& settings) {
  return LoadCassCoordLines(data, ViewsOf(lines), settings);
}

bool LoadCassCoordLines(WorkingData& data, LineSpan lines, const Settings& settings, TaskProgress* progress) {
  return LoadFiveFieldLines(data, lines, settings, {0, 1, 2, 3, 4}, progress);
}

bool LoadGts7CoordLines(WorkingData& data, const LineList& lines, const Settings& settings) {
  return LoadGts7CoordLines(data, ViewsOf(lines), settings);
}

bool LoadGts7CoordLines(WorkingData& data, LineSpan lines, const Settings& settings, TaskProgress* progress) {
  return LoadFiveFieldLines(data, lines, settings, {0, 4, 1, 2, 3}, progress);
}

// The binary coordinate readers always write metres, so the display unit must not apply.
bool LoadCoordRecordLines(WorkingData& data, const LineList& lines) {
  return LoadCoordRecordLines(data, ViewsOf(lines));
}

bool LoadCoordRecordLines(WorkingData& data, LineSpan lines, TaskProgress* progress) {
  if (lines.empty()) return false;
  std::vector<PointRecord> points;
  points.reserve(lines.size() / 2);
  std::string name, code;
  bool sawCoordLine = false;
  TextCutter cutter;
  LineList fields;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ReportEvery(progress, i, lines.size());
    const std::string_view line = lines[i];
    const std::string_view keyword = Trim(line.substr(0, 8));
    const std::string_view trimmed = Trim(line);
    const std::string_view value = trimmed.size() > 8 ? trimmed.substr(8) : std::string_view();
    SplitQuotedFields(value, ',', fields);
    if (fields.size() != 3) return false;
    if (keyword == "SC") {
      name = fields[0];
      code = cutter.Cut(fields[2]);
      sawCoordLine = true;
    } else if (keyword == "ENZ" || keyword == "NEZ") {
      PointRecord point;
      point.Name.Assign(cutter.CutName(name, points.size()));
      point.Code.Assign(code);
      try {
        const double first = ParseDistance(fields[0], DistanceMetre);
        const double second = ParseDistance(fields[1], DistanceMetre);
        point.Elevation = ParseDistance(fields[2], DistanceMetre);
        point.East = keyword == "ENZ" ? first : second;
        point.North = keyword == "ENZ" ? second : first;
      } catch (const ConversionError&) {
        return false;
      }
      points.push_back(point);
      sawCoordLine = true;
    }
  }
  if (!sawCoordLine) return false;
  InstallPoints(data, std::move(points), cutter);
  return true;
}

}  // namespace theolink
