#include <string_view>
#include <utility>

#include "files/line_loaders.h"
#include "files/result_messages.h"
#include "records/default_names.h"
#include "records/job_check.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

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
  std::vector<MeasureRecord> records;
  JobCheckResult job = ReadKeywordJob(lines, &records);
  if (job.Stage != JobCheckStage::Passed) return std::string(MeasureLoadText(job.Stage));

  ClearCoordData(data);
  ClearMeasureData(data);
  ClearCodeData(data);
  data.JobName = std::move(job.JobName);
  data.InstrumentName = std::move(job.InstrumentName);
  MergeShotRecords(records);
  data.MeasurementList = std::move(records);
  return std::string(MeasureLoadText(JobCheckStage::Passed));
}

bool TryLoadMeasureLines(WorkingData& data, const LineList& lines) {
  if (lines.empty()) return false;
  return LoadMeasureLines(data, lines) == MeasureLoadText(JobCheckStage::Passed);
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
