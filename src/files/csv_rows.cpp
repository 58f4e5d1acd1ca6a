#include "files/csv_rows.h"

#include <string_view>

#include "records/default_names.h"
#include "records/field_appender.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

// Names and codes that the comma reader would cut (a comma, a quote, a blank or control
// character) are quoted so the row reads back as written; all others stay bare.
void AppendPointField(std::string& row, std::string_view text) {
  bool needsQuotes = !text.empty() && text.front() == '"';
  for (char c : text)
    if (c == ',' || c == '"' || (static_cast<unsigned char>(c) <= 32)) needsQuotes = true;
  if (!needsQuotes) {
    row += text;
    return;
  }
  row += '"';
  for (char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}


// Appends the fields of one row, joined by ','.
class RowWriter final : public FieldAppender<RowWriter> {
 public:
  RowWriter(std::string& row, int angleForm, int distanceForm) : FieldAppender(row, angleForm, distanceForm) {}

  RowWriter& Point(std::string_view text) {
    Separate();
    AppendPointField(line_, text);
    return *this;
  }
  // Fields left empty.
  RowWriter& Skip(int count) {
    line_.append(static_cast<std::size_t>(count), ',');
    return *this;
  }
};

}  // namespace

void AppendCsvMeasureRow(std::string& row, const MeasureRecord& record, const Settings& settings) {
  RowWriter w(row, AngleFormCode(settings), DistanceFormCode(settings));
  switch (record.Kind) {
    case KindStation: {
      const StationBody& b = record.Station;
      w.Text("STA").Text(ShownNameView(b.Name)).Distance(b.InstrumentHeight).Text(b.Code.View()).Distance(b.X).Distance(b.Y).Distance(b.Z);
      break;
    }
    case KindBacksight: {
      const BacksightBody& b = record.Backsight;
      w.Text("SC").Text(ShownNameView(b.Name)).Distance(b.TargetHeight).Text("");
      w.Angle(b.HorizontalAngle).Angle(b.VerticalAngle).Distance(b.SlopeDistance);
      if (b.HasBacksightPoint != 0) {
        w.Distance(b.BacksightEast).Distance(b.BacksightNorth).Distance(b.BacksightElevation);
      } else {
        w.Skip(3);
      }
      break;
    }
    case KindAngleShot: {
      const AngleShotBody& b = record.AngleShot;
      w.Text("SC").Text(ShownNameView(b.Name)).Distance(b.TargetHeight).Text(b.Code.View());
      w.Angle(b.HorizontalAngle).Angle(b.VerticalAngle).Skip(4);
      break;
    }
    case KindSlopeShot: {
      const SlopeShotBody& b = record.SlopeShot;
      w.Text("SC").Text(ShownNameView(b.Name)).Distance(b.TargetHeight).Text(b.Code.View());
      w.Angle(b.HorizontalAngle).Angle(b.VerticalAngle).Distance(b.SlopeDistance).Skip(3);
      break;
    }
    case KindCoordShot: {
      const CoordShotBody& b = record.CoordShot;
      w.Text("SC").Text(ShownNameView(b.Name)).Distance(b.TargetHeight).Text(b.Code.View());
      if (b.HasObservation != 0) {
        w.Angle(b.HorizontalAngle).Angle(b.VerticalAngle).Distance(b.SlopeDistance);
      } else {
        w.Skip(3);
      }
      w.Distance(b.East).Distance(b.North).Distance(b.Elevation);
      break;
    }
    default:
      break;
  }
}

std::string FormatCsvMeasureRow(const MeasureRecord& record, const Settings& settings) {
  std::string row;
  AppendCsvMeasureRow(row, record, settings);
  return row;
}

void AppendPointRow(std::string& row, const PointRecord& point, int layout, const Settings& settings) {
  RowWriter w(row, 0, DistanceFormCode(settings));
  if (layout == CoordLayoutCass)
    w.Point(ShownNameView(point.Name)).Point(point.Code.View()).Distance(point.East).Distance(point.North).Distance(point.Elevation);
  if (layout == CoordLayoutGts7)
    w.Point(ShownNameView(point.Name)).Distance(point.East).Distance(point.North).Distance(point.Elevation).Point(point.Code.View());
}

std::string FormatPointRow(const PointRecord& point, int layout, const Settings& settings) {
  std::string row;
  AppendPointRow(row, point, layout, settings);
  return row;
}

}  // namespace theolink
