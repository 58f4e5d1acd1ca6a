#include "files/save_writers.h"

#include <array>
#include <charconv>
#include <cmath>

#include "files/csv_rows.h"
#include "files/dxf_writer.h"
#include "files/gts7_export.h"
#include "files/line_loaders.h"
#include "files/shot_reduction.h"
#include "records/default_names.h"
#include "records/keyword_line.h"
#include "records/record_formatter.h"
#include "records/text_trim.h"

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

}  // namespace

std::optional<TextId> ExportMeasureData(const WorkingData& data, LineOut lines, int filterIndex,
                                        const std::string& fileName, const Settings& settings) {
  if (data.MeasurementList.empty() && data.JobName.empty() && data.InstrumentName.empty()) return std::nullopt;
  switch (filterIndex) {
    case MeasureFilterCsv:
    case MeasureFilterCsvTxt:
      WriteCsvMeasure(data, lines, settings);
      break;
    case MeasureFilterCass:
    case MeasureFilterGts7Coord:
      WriteCoordLines(ExtractedPoints(data, settings), lines,
                      filterIndex == MeasureFilterCass ? CoordLayoutCass : CoordLayoutGts7, settings);
      break;
    case MeasureFilterDxf:
      WriteDxf(ExtractedPoints(data, settings), lines);
      break;
    case MeasureFilterGts7Hd:
      return ExportGts7(data, lines, fileName, Gts7Mode::ObservationsOnly, true, settings);
    case MeasureFilterGts7Sd:
      return ExportGts7(data, lines, fileName, Gts7Mode::ObservationsOnly, false, settings);
    case MeasureFilterGts7All:
      return ExportGts7(data, lines, fileName, Gts7Mode::AllData, false, settings);
    case MeasureFilterJob:
      WriteJobFile(data, lines);
      break;
    default:
      break;
  }
  return std::nullopt;
}

void ExportCoordData(const WorkingData& data, LineOut lines, int filterIndex, const Settings& settings) {
  switch (filterIndex) {
    case CoordFilterCassDat:
    case CoordFilterCassTxt:
    case CoordFilterCassCsv:
      WriteCoordLines(data, lines, CoordLayoutCass, settings);
      break;
    case CoordFilterDxf:
      WriteDxf(data, lines);
      break;
    case CoordFilterGts7:
      WriteCoordLines(data, lines, CoordLayoutGts7, settings);
      break;
    default:
      break;
  }
}

std::optional<TextId> ExportForSaveFilter(const WorkingData& data, int dataKind, int filterIndex, LineOut lines,
                                          const std::string& fileName, const Settings& settings) {
  switch (dataKind) {
    case DataKindMeasure:
      return ExportMeasureData(data, lines, filterIndex, fileName, settings);
    case DataKindCoord:
      ExportCoordData(data, lines, filterIndex, settings);
      return std::nullopt;
    default:
      WriteCodeLines(data, lines);
      return std::nullopt;
  }
}

void WriteCsvMeasure(const WorkingData& data, LineOut lines, const Settings& settings) {
  lines.Reserve(data.MeasurementList.size());
  std::string row;  // one buffer for every row
  for (const MeasureRecord& record : data.MeasurementList) {
    row.clear();
    AppendCsvMeasureRow(row, record, settings);
    lines.Add(row);
  }
}

void WriteCoordLines(const WorkingData& data, LineOut lines, int layout, const Settings& settings) {
  lines.Reserve(data.PointList.size());
  std::string row;
  for (const PointRecord& point : data.PointList) {
    row.clear();
    AppendPointRow(row, point, layout, settings);
    lines.Add(row);
  }
}

void WriteJobFile(const WorkingData& data, LineOut lines) {
  // A header line of 8 characters fails the keyword-text test, and a missing INST value
  // makes the job unreadable: such a file could never be opened again.
  lines.Add(KeywordLine("JOB", {Trim(data.JobName).empty() ? kNoName : data.JobName}));
  lines.Add(KeywordLine("INST", {data.InstrumentName.empty() ? kUnknownInstrument : data.InstrumentName}));
  LineViews pieces;  // views into the record's text: no string per line
  for (const MeasureRecord& record : data.MeasurementList) {
    const std::string text = FormatRecordText(record);
    pieces.clear();
    SplitRecordText(text, pieces);
    for (const std::string_view piece : pieces) lines.Add(piece);
  }
}

void WriteCodeLines(const WorkingData& data, LineOut lines) {
  lines.Reserve(data.CodeList.size());
  for (const CodeEntry& code : data.CodeList) lines.Add(code.Code.View());
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
