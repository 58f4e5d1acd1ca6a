#include <string_view>

#include "files/line_loaders.h"
#include "records/keyword_parser.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

constexpr std::string_view kNoName = "NONAME";

bool IsNamed(const NameText& name) { return !name.Empty() && name.View() != kNoName; }

}  // namespace

bool IsKeywordText(const LineList& lines) {
  if (lines.empty()) return false;
  const std::string_view first = lines.front();
  if (Trim(first).size() <= 8) return false;
  const std::string_view keyword = Trim(first.substr(0, 8));
  return keyword == "JOB" || keyword.find(',') == std::string_view::npos;
}

std::string LoadMeasureLines(WorkingData& data, const LineList& lines) {
  if (lines.size() < 2) return "ERROR: 2 lines expected at least";
  LineList entries;
  if (PreprocessLines(lines, entries) != 0) return "ERROR: preprocess lines failed";

  std::string jobName, instrumentName;
  std::size_t start = 0;
  if (entries.size() >= 2 && ReadJobHeader(entries[0], jobName) == 0 && ReadInstHeader(entries[1], instrumentName) == 0) {
    start = 2;
  } else {
    jobName = "NONAME";
    instrumentName = "UNKNOW";
  }

  std::vector<MeasureRecord> records;
  records.reserve(entries.size() - std::min(start, entries.size()));
  std::size_t cuts = 0;
  for (std::size_t i = start; i < entries.size(); ++i) {
    MeasureRecord record;
    if (ParseRecordText(entries[i], record, &cuts) != 0) return "ERROR: load record item failed";
    records.push_back(record);
  }

  ClearCoordData(data);
  ClearMeasureData(data);
  ClearCodeData(data);
  data.Cuts = TextCuts{cuts, {}};
  data.JobName = std::move(jobName);
  data.InstrumentName = std::move(instrumentName);
  MergeShotRecords(records);
  data.MeasurementList = std::move(records);
  return "OK";
}

bool TryLoadMeasureLines(WorkingData& data, const LineList& lines) {
  if (lines.empty()) return false;
  return LoadMeasureLines(data, lines) == "OK";
}

void MergeShotRecords(std::vector<MeasureRecord>& list) {
  std::vector<MeasureRecord> merged;
  merged.reserve(list.size());
  std::size_t i = 0;
  while (i < list.size()) {
    MeasureRecord record = list[i];
    const bool hasNext = i + 1 < list.size();
    if (hasNext && record.Kind == KindCoordShot && record.CoordShot.HasObservation == 0 &&
        list[i + 1].Kind == KindSlopeShot && IsNamed(record.CoordShot.Name) &&
        record.CoordShot.Name == list[i + 1].SlopeShot.Name) {
      const SlopeShotBody& shot = list[i + 1].SlopeShot;
      record.CoordShot.HasObservation = 1;
      record.CoordShot.HorizontalAngle = shot.HorizontalAngle;
      record.CoordShot.VerticalAngle = shot.VerticalAngle;
      record.CoordShot.SlopeDistance = shot.SlopeDistance;
      merged.push_back(record);
      i += 2;
    } else if (hasNext && record.Kind == KindBacksight && record.Backsight.HasBacksightPoint == 0 &&
               list[i + 1].Kind == KindCoordShot && IsNamed(record.Backsight.Name) &&
               record.Backsight.Name == list[i + 1].CoordShot.Name && list[i + 1].CoordShot.Code.View() == "BSS") {
      const CoordShotBody& shot = list[i + 1].CoordShot;
      record.Backsight.HasBacksightPoint = 1;
      record.Backsight.BacksightNorth = shot.North;
      record.Backsight.BacksightEast = shot.East;
      record.Backsight.BacksightElevation = shot.Elevation;
      merged.push_back(record);
      i += 2;
    } else {
      merged.push_back(record);
      ++i;
    }
  }
  list = std::move(merged);
}

}  // namespace theolink
