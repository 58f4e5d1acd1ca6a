#include <optional>
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

// An SC without observation followed by the SD of the same named point takes its observation.
bool JoinSlopeShot(MeasureRecord& record, const MeasureRecord& next) {
  if (record.Kind != KindCoordShot || record.CoordShot.HasObservation != 0 || next.Kind != KindSlopeShot ||
      !IsNamed(record.CoordShot.Name) || !(record.CoordShot.Name == next.SlopeShot.Name))
    return false;
  const SlopeShotBody& shot = next.SlopeShot;
  record.CoordShot.HasObservation = 1;
  record.CoordShot.HorizontalAngle = shot.HorizontalAngle;
  record.CoordShot.VerticalAngle = shot.VerticalAngle;
  record.CoordShot.SlopeDistance = shot.SlopeDistance;
  return true;
}

// A BS without its point followed by the "BSS" SC of the same named point takes its coordinates.
bool JoinBacksightPoint(MeasureRecord& record, const MeasureRecord& next) {
  if (record.Kind != KindBacksight || record.Backsight.HasBacksightPoint != 0 || next.Kind != KindCoordShot ||
      !IsNamed(record.Backsight.Name) || !(record.Backsight.Name == next.CoordShot.Name) ||
      next.CoordShot.Code.View() != "BSS")
    return false;
  const CoordShotBody& point = next.CoordShot;
  record.Backsight.HasBacksightPoint = 1;
  record.Backsight.BacksightNorth = point.North;
  record.Backsight.BacksightEast = point.East;
  record.Backsight.BacksightElevation = point.Elevation;
  return true;
}

}  // namespace

bool IsKeywordText(const LineList& lines) { return IsKeywordText(ViewsOf(lines)); }

bool IsKeywordText(LineSpan lines) { return !lines.empty() && IsKeywordLine(lines.front()); }

bool IsKeywordLine(std::string_view first) {
  if (Trim(first).size() <= 8) return false;
  const std::string_view keyword = Trim(first.substr(0, 8));
  return keyword == "JOB" || keyword.find(',') == std::string_view::npos;
}

UserMessage LoadMeasureLines(WorkingData& data, const LineList& lines) {
  return LoadMeasureLines(data, ViewsOf(lines));
}

namespace {

// The lines of a span, reporting how far they have been read.
class SpanSourceReporting final : public LineSource {
 public:
  SpanSourceReporting(LineSpan lines, TaskProgress* progress) : lines_(lines), progress_(progress) {}
  bool Next(std::string_view& line) override {
    if (next_ == lines_.size()) return false;
    ReportEvery(progress_, next_, lines_.size());
    line = lines_[next_++];
    return true;
  }
  bool Rewind() override {
    next_ = 0;
    return true;
  }

 private:
  LineSpan lines_;
  TaskProgress* progress_;
  std::size_t next_ = 0;
};

// Reads the job and installs it when it passed; nothing for a source that failed part way.
std::optional<JobCheckStage> LoadJob(WorkingData& data, LineSource& lines) {
  std::vector<MeasureRecord> records;
  JobCheckResult job = ReadKeywordJob(lines, &records);
  if (lines.Failed()) return std::nullopt;
  if (job.Stage != JobCheckStage::Passed) return job.Stage;

  ClearCoordData(data);
  ClearMeasureData(data);
  ClearCodeData(data);
  data.Cuts = TextCuts{job.Cuts, {}};
  data.JobName = std::move(job.JobName);
  data.InstrumentName = std::move(job.InstrumentName);
  MergeShotRecords(records);
  data.MeasurementList = std::move(records);
  return JobCheckStage::Passed;
}

}  // namespace

UserMessage LoadMeasureLines(WorkingData& data, LineSpan lines, TaskProgress* progress) {
  SpanSourceReporting source(lines, progress);
  return MeasureLoadMessage(*LoadJob(data, source));
}

bool TryLoadMeasureLines(WorkingData& data, const LineList& lines) {
  return TryLoadMeasureLines(data, ViewsOf(lines));
}

bool TryLoadMeasureLines(WorkingData& data, LineSpan lines, TaskProgress* progress) {
  if (lines.empty()) return false;
  return LoadMeasureLines(data, lines, progress).Empty();
}

bool TryLoadMeasureLines(WorkingData& data, LineSource& lines) {
  return LoadJob(data, lines) == JobCheckStage::Passed;
}

bool JoinShot(MeasureRecord& record, const MeasureRecord& next) {
  return JoinSlopeShot(record, next) || JoinBacksightPoint(record, next);
}

void MergeShotRecords(std::vector<MeasureRecord>& list) {
  // The merged list is never longer than what is left to read, so it is written over the
  // front of the list itself.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    MeasureRecord& record = list[i];
    const bool joined = i + 1 < list.size() && JoinShot(record, list[i + 1]);
    if (kept != i) list[kept] = record;
    ++kept;
    if (joined) ++i;
  }
  list.resize(kept);
}

void ShotJoiner::Add(std::span<MeasureRecord> run, const Emit& emit) {
  const std::size_t n = run.size();
  std::size_t i = 0;
  if (n == 0) return;
  if (holding_) {
    holding_ = false;
    const bool joined = JoinShot(held_, run[0]);
    emit(std::span<const MeasureRecord>(&held_, 1));
    if (joined) i = 1;
  }
  // A joined record ends a span: the record it took is spent and left out.
  std::size_t from = i;
  for (; i + 1 < n; ++i) {
    if (JoinShot(run[i], run[i + 1])) {
      emit(run.subspan(from, i + 1 - from));
      from = ++i + 1;
    }
  }
  if (i + 1 == n) {  // the last record, not spent: the next run decides
    if (from < i) emit(run.subspan(from, i - from));
    held_ = run[i];
    holding_ = true;
  }
}

void ShotJoiner::Finish(const Emit& emit) {
  if (holding_) emit(std::span<const MeasureRecord>(&held_, 1));
  holding_ = false;
}

}  // namespace theolink
