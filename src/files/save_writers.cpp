#include "files/save_writers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "files/csv_rows.h"
#include "files/dxf_writer.h"
#include "files/geo_transform.h"
#include "files/gts7_export.h"
#include "files/line_loaders.h"
#include "files/shot_reduction.h"
#include "records/default_names.h"
#include "records/keyword_line.h"
#include "records/record_formatter.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

// "%f" without the locale: six decimals.
std::string Fixed6(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  std::array<char, 400> buffer;
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 6);
  return std::string(buffer.data(), r.ptr);
}

// The job's points in a list of their own: an export never changes the working data.
// With the reduced shots when the settings ask for them.
WorkingData ExtractedPoints(const WorkingData& data, const Settings& settings) {
  WorkingData points;
  points.PointList = JobPoints(data.MeasurementList, settings);
  return points;
}

void WriteCsvRows(std::span<const MeasureRecord> records, LineOut lines, const Settings& settings) {
  std::string row;  // one buffer for every row
  for (const MeasureRecord& record : records) {
    row.clear();
    AppendCsvMeasureRow(row, record, settings);
    lines.Add(row);
  }
}

void WriteJobHeader(const std::string& jobName, const std::string& instrumentName, LineOut lines) {
  // A header line of 8 characters fails the keyword-text test, and a missing INST value
  // makes the job unreadable: such a file could never be opened again.
  lines.Add(KeywordLine("JOB", {Trim(jobName).empty() ? kNoName : jobName}));
  lines.Add(KeywordLine("INST", {instrumentName.empty() ? kUnknownInstrument : instrumentName}));
}

void WriteJobRecords(std::span<const MeasureRecord> records, LineOut lines) {
  LineViews pieces;  // views into the record's text: no string per line
  std::string text;   // one buffer for every record
  for (const MeasureRecord& record : records) {
    text.clear();
    AppendRecord(text, record, AngleSeconds, DistanceMetre);
    pieces.clear();
    SplitRecordText(text, pieces);
    for (const std::string_view piece : pieces) lines.Add(piece);
  }
}

// Why a point format of a job would write no point without reduced shots; nothing when it
// has one.
std::optional<ExportRefusal> NoPointRefusal(const WorkingData& data, const Settings& settings) {
  const std::vector<MeasureRecord>& records = data.MeasurementList;
  if (std::any_of(records.begin(), records.end(), [](const MeasureRecord& r) { return ExtractedPoint(r).has_value(); }))
    return std::nullopt;
  const bool slopeShots = std::any_of(records.begin(), records.end(),
                                      [](const MeasureRecord& r) { return r.Kind == KindSlopeShot; });
  return ExportRefusal{slopeShots && !settings.ComputeShots ? TextId::ShotsNotComputed : TextId::NoCoordinatePoint};
}

bool IsGts7Measured(SaveWriter writer) {
  return writer == SaveWriter::Gts7Hd || writer == SaveWriter::Gts7Sd || writer == SaveWriter::Gts7All;
}

}  // namespace

std::optional<ExportRefusal> ExportMeasureData(const WorkingData& data, LineOut lines, const SaveFormat& format,
                                               const std::string& fileName, const Settings& settings,
                                               TaskProgress* progress, std::size_t* written) {
  std::size_t ignored = 0;
  std::size_t& count = written != nullptr ? *written : ignored;
  count = 0;
  if (data.MeasurementList.empty() && data.JobName.empty() && data.InstrumentName.empty()) return std::nullopt;
  if (Uses(format, kNeedsGt7Name)) {
    if (const auto refused = Gts7Refusal(fileName, settings)) return ExportRefusal{*refused};
  }
  if (Uses(format, kNeedsCrs)) {
    if (const auto problem = CrsProblem(settings.Crs)) return ExportRefusal{*problem, settings.Crs};
  }
  // Reduced shots need the whole job: the reduction looks back for station and backsight.
  if (settings.ComputeShots && Uses(format, kUsesReducedShots)) {
    const WorkingData points = ExtractedPoints(data, settings);
    if (points.PointList.empty()) return ExportRefusal{TextId::NoCoordinatePoint};
    auto refused = format.WritePoints(points, lines, settings, progress);
    if (!refused) count = points.PointList.size();
    return refused;
  }
  if (format.Writer == SaveWriter::Points) {
    if (auto refused = NoPointRefusal(data, settings)) return refused;
  }
  if (format.Writer == SaveWriter::MeasureCsv) lines.Reserve(data.MeasurementList.size());
  MeasureExport job(lines, format, settings, progress);
  job.Begin(data.JobName, data.InstrumentName, !data.MeasurementList.empty());
  // Runs give the bytes of one call; they are made only where someone watches the progress.
  const std::span<const MeasureRecord> records = data.MeasurementList;
  const std::size_t run = progress != nullptr ? kProgressStep : std::max<std::size_t>(records.size(), 1);
  for (std::size_t from = 0; from < records.size(); from += run) {
    if (progress != nullptr) progress->Report(from, records.size());
    job.Records(records.subspan(from, std::min(run, records.size() - from)));
  }
  job.End();
  if (!job.Refusal()) count = format.Writer == SaveWriter::Points ? job.PointCount() : records.size();
  return job.Refusal();
}

MeasureExport::MeasureExport(LineOut lines, const SaveFormat& format, const Settings& settings,
                             TaskProgress* progress)
    : lines_(lines),
      format_(format),
      settings_(settings),
      progress_(progress),
      gts7_(format.Writer == SaveWriter::Gts7All ? Gts7Mode::AllData : Gts7Mode::ObservationsOnly,
            GridScaleValue(settings), KValue(settings), format.Writer == SaveWriter::Gts7Hd, settings) {}

void MeasureExport::Begin(const std::string& jobName, const std::string& instrumentName, bool hasRecords) {
  // A job with neither records nor names writes nothing at all.
  skip_ = !hasRecords && jobName.empty() && instrumentName.empty();
  if (skip_) return;
  if (format_.Writer == SaveWriter::WorkFile) WriteJobHeader(jobName, instrumentName, lines_);
  if (IsGts7Measured(format_.Writer)) gts7_.Header(jobName, instrumentName, lines_);
}

void MeasureExport::Records(std::span<const MeasureRecord> records) {
  if (skip_ || refusal_) return;
  switch (format_.Writer) {
    case SaveWriter::MeasureCsv:
      WriteCsvRows(records, lines_, settings_);
      break;
    case SaveWriter::Points:
      ExtractCoordPoints(records, points_.PointList);
      // A layout that needs no other point gets its rows as the run comes.
      if (!format_.NeedsAllPoints) WritePoints(nullptr);
      break;
    case SaveWriter::Gts7Hd:
    case SaveWriter::Gts7Sd:
    case SaveWriter::Gts7All:
      gts7_.Records(records, lines_);
      break;
    case SaveWriter::WorkFile:
      WriteJobRecords(records, lines_);
      break;
    case SaveWriter::Codes:
      break;
  }
}

void MeasureExport::End() {
  if (skip_) return;
  if (format_.Writer == SaveWriter::Points && format_.NeedsAllPoints) WritePoints(progress_);
}

void MeasureExport::WritePoints(TaskProgress* progress) {
  if (!refusal_) {
    refusal_ = format_.WritePoints(points_, lines_, settings_, progress);
    pointCount_ += points_.PointList.size();
  }
  points_.PointList.clear();
}

std::optional<ExportRefusal> ExportData(const WorkingData& data, const SaveFormat& format, LineOut lines,
                                        const std::string& fileName, const Settings& settings,
                                        TaskProgress* progress, std::size_t* written) {
  if (written != nullptr) *written = 0;
  switch (format.Writer) {
    case SaveWriter::Codes:
      WriteCodeLines(data, lines, progress);
      if (written != nullptr) *written = data.CodeList.size();
      return std::nullopt;
    case SaveWriter::Points:
      if (format.Kind == DataKind::Coord) {
        if (data.PointList.empty()) return ExportRefusal{TextId::NoDataToSave};
        auto refused = format.WritePoints(data, lines, settings, progress);
        if (!refused && written != nullptr) *written = data.PointList.size();
        return refused;
      }
      return ExportMeasureData(data, lines, format, fileName, settings, progress, written);
    case SaveWriter::MeasureCsv:
    case SaveWriter::Gts7Hd:
    case SaveWriter::Gts7Sd:
    case SaveWriter::Gts7All:
    case SaveWriter::WorkFile:
      return ExportMeasureData(data, lines, format, fileName, settings, progress, written);
  }
  return std::nullopt;
}

void WriteCoordLines(const WorkingData& data, LineOut lines, int layout, const Settings& settings,
                     TaskProgress* progress) {
  lines.Reserve(data.PointList.size());
  std::string row;
  for (std::size_t i = 0; i < data.PointList.size(); ++i) {
    ReportEvery(progress, i, data.PointList.size());
    const PointRecord& point = data.PointList[i];
    row.clear();
    AppendPointRow(row, point, layout, settings);
    lines.Add(row);
  }
}

void WriteJobFile(const WorkingData& data, LineOut lines) {
  WriteJobHeader(data.JobName, data.InstrumentName, lines);
  WriteJobRecords(data.MeasurementList, lines);
}

void WriteCodeLines(const WorkingData& data, LineOut lines, TaskProgress* progress) {
  lines.Reserve(data.CodeList.size());
  for (std::size_t i = 0; i < data.CodeList.size(); ++i) {
    ReportEvery(progress, i, data.CodeList.size());
    lines.Add(data.CodeList[i].Code.View());
  }
}

void WriteUploadCoordLines(const WorkingData& data, LineList& lines) {
  lines.reserve(lines.size() + data.PointList.size());
  for (const PointRecord& p : data.PointList) {
    std::string line = ShownName(p.Name);
    line += ' ';
    line += p.Code.Empty() ? std::string("\b") : p.Code.Str();
    line += " 0 " + Fixed6(p.North) + ' ' + Fixed6(p.East) + ' ' + Fixed6(p.Elevation) + " 0";
    lines.push_back(std::move(line));
  }
}

}  // namespace theolink
