#include "files/data_views.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "records/keyword_line.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

class TextViewWriter {
 public:
  TextViewWriter(const Settings& settings, LineOut lines)
      : angleForm_(AngleFormCode(settings)), distanceForm_(DistanceFormCode(settings)), lines_(lines) {}

  void Record(const MeasureRecord& r) {
    switch (r.Kind) {
      case KindStation:
        Line("STA", {ShownName(r.Station.Name), D(r.Station.InstrumentHeight), r.Station.Code.Str()});
        Line("XYZ", {D(r.Station.X), D(r.Station.Y), D(r.Station.Z)});
        break;
      case KindBacksight: {
        const BacksightBody& b = r.Backsight;
        Line("SC", {ShownName(b.Name), D(b.TargetHeight)});
        Line("HVD", {A(b.HorizontalAngle), A(b.VerticalAngle), D(b.SlopeDistance)});
        if (b.HasBacksightPoint != 0) Line("ENZ", {D(b.BacksightEast), D(b.BacksightNorth), D(b.BacksightElevation)});
        break;
      }
      case KindAngleShot:
        Line("SC", {ShownName(r.AngleShot.Name), D(r.AngleShot.TargetHeight), r.AngleShot.Code.Str()});
        Line("HVD", {A(r.AngleShot.HorizontalAngle), A(r.AngleShot.VerticalAngle), ""});
        break;
      case KindSlopeShot: {
        const SlopeShotBody& b = r.SlopeShot;
        Line("SC", {ShownName(b.Name), D(b.TargetHeight), b.Code.Str()});
        Line("HVD", {A(b.HorizontalAngle), A(b.VerticalAngle), D(b.SlopeDistance)});
        break;
      }
      case KindCoordShot: {
        const CoordShotBody& b = r.CoordShot;
        Line("SC", {ShownName(b.Name), D(b.TargetHeight), b.Code.Str()});
        if (b.HasObservation != 0) Line("HVD", {A(b.HorizontalAngle), A(b.VerticalAngle), D(b.SlopeDistance)});
        Line("ENZ", {D(b.East), D(b.North), D(b.Elevation)});
        break;
      }
      case KindNote:
        Line("NOTE", {r.Note.Text.Str()});
        break;
      default:
        break;
    }
  }

  void Line(std::string_view keyword, std::initializer_list<std::string_view> fields) {
    lines_.Add(KeywordLine(keyword, fields));
  }

 private:
  std::string A(double x) const { return FormatAngle(x, angleForm_); }
  std::string D(double x) const { return FormatDistance(x, distanceForm_); }

  int angleForm_, distanceForm_;
  LineOut lines_;
};

}  // namespace

LineList MeasureTextLines(const WorkingData& data, const Settings& settings) {
  LineList lines;
  lines.reserve(data.MeasurementList.empty() ? 0 : 2 + data.MeasurementList.size() * 2);
  WriteMeasureTextLines(data, settings, lines);
  return lines;
}

void WriteMeasureTextLines(const WorkingData& data, const Settings& settings, LineOut lines, TaskProgress* progress) {
  if (data.MeasurementList.empty()) return;
  TextViewWriter writer(settings, lines);
  writer.Line("JOB", {data.JobName});
  writer.Line("INST", {data.InstrumentName});
  const std::size_t n = data.MeasurementList.size();
  for (std::size_t i = 0; i < n; ++i) {
    ReportEvery(progress, i, n);
    writer.Record(data.MeasurementList[i]);
  }
}

namespace {

// Packs the lines given and keeps the longest one's size.
class TextViewPacker final : public LineOutput {
 public:
  explicit TextViewPacker(TextViewLines& view) : view_(view) {}
  void Add(std::string_view line) override {
    view_.Lines.Add(line);
    view_.Longest = std::max(view_.Longest, line.size());
  }

 private:
  TextViewLines& view_;
};

}  // namespace

std::shared_ptr<const TextViewLines> PackTextViewLines(LineSpan lines) {
  auto view = std::make_shared<TextViewLines>();
  TextViewPacker packer(*view);
  for (const std::string_view line : lines) packer.Add(line);
  return view;
}

std::shared_ptr<const TextViewLines> MeasureTextView(const WorkingData& data, const Settings& settings,
                                                     TaskProgress* progress) {
  auto view = std::make_shared<TextViewLines>();
  TextViewPacker packer(*view);
  WriteMeasureTextLines(data, settings, packer, progress);
  return view;
}

std::vector<TextId> GridHeaderIds(DataKind dataKind, const Settings& settings) {
  if (dataKind == DataKind::Code) return {TextId::HeaderPointNum, TextId::HeaderCode};
  const bool northFirst = IsNorthFirst(settings);
  return {TextId::HeaderPointNum,
          TextId::HeaderPointName,
          northFirst ? TextId::HeaderNorth : TextId::HeaderEast,
          northFirst ? TextId::HeaderEast : TextId::HeaderNorth,
          TextId::HeaderElevation,
          TextId::HeaderCode};
}

std::string RowLabel(std::size_t rowNumber) { return "#" + std::to_string(rowNumber); }

namespace {

template <typename Item, typename RowOf>
std::vector<GridRow> NumberedRows(const std::vector<Item>& items, TaskProgress* progress, RowOf rowOf) {
  std::vector<GridRow> rows;
  rows.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    ReportEvery(progress, i, items.size());
    rows.push_back(rowOf(items[i], i + 1));
  }
  return rows;
}

}  // namespace

std::vector<GridRow> CoordGridRows(const WorkingData& data, const Settings& settings, TaskProgress* progress) {
  return NumberedRows(data.PointList, progress,
                      [&](const PointRecord& p, std::size_t n) { return CoordGridRow(p, n, settings); });
}

std::vector<GridRow> CodeGridRows(const WorkingData& data, TaskProgress* progress) {
  return NumberedRows(data.CodeList, progress, [](const CodeEntry& c, std::size_t n) { return CodeGridRow(c, n); });
}

PreparedViews PrepareViews(const WorkingData& data, DataKind dataKind, const Settings& settings, TaskProgress* progress) {
  PreparedViews views;
  switch (dataKind) {
    case DataKind::Measure:
      if (!data.MeasurementList.empty()) views.Text = MeasureTextView(data, settings, progress);
      break;
    case DataKind::Coord:
      if (!data.PointList.empty()) views.Rows = CoordGridRows(data, settings, progress);
      break;
    case DataKind::Code:
      if (!data.CodeList.empty()) views.Rows = CodeGridRows(data, progress);
      break;
  }
  return views;
}

std::vector<std::string> CoordGridRow(const PointRecord& point, std::size_t rowNumber, const Settings& settings) {
  const int form = DistanceFormCode(settings);
  const bool northFirst = IsNorthFirst(settings);
  std::string north = FormatDistance(point.North, form);
  std::string east = FormatDistance(point.East, form);
  return {RowLabel(rowNumber),
          ShownName(point.Name),
          northFirst ? north : east,
          northFirst ? east : north,
          FormatDistance(point.Elevation, form),
          point.Code.Str()};
}

std::vector<std::string> CodeGridRow(const CodeEntry& code, std::size_t rowNumber) {
  return {RowLabel(rowNumber), code.Code.Str()};
}

std::optional<std::size_t> ShownCount(const WorkingData& data) {
  std::size_t count = 0;
  switch (data.DataKind) {
    case DataKind::Measure:
      count = data.MeasurementList.size();
      break;
    case DataKind::Coord:
      count = data.PointList.size();
      break;
    case DataKind::Code:
      count = data.CodeList.size();
      break;
  }
  if (count == 0) return std::nullopt;
  return count;
}

}  // namespace theolink
