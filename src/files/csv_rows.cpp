#include "files/csv_rows.h"

#include <string_view>

#include "records/default_names.h"
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

std::string_view ShownNameView(const NameText& name) { return name.Empty() ? std::string_view(kNoName) : name.View(); }

// Appends the fields of one row, joined by ','.
class RowWriter {
 public:
  RowWriter(std::string& row, int angleForm, int distanceForm)
      : row_(row), angleForm_(angleForm), distanceForm_(distanceForm) {}

  RowWriter& T(std::string_view field) {
    Separate();
    row_ += field;
    return *this;
  }
  RowWriter& A(double degrees) {
    Separate();
    AppendAngle(row_, degrees, angleForm_);
    return *this;
  }
  RowWriter& D(double metres) {
    Separate();
    AppendDistance(row_, metres, distanceForm_);
    return *this;
  }
  RowWriter& Point(std::string_view text) {
    Separate();
    AppendPointField(row_, text);
    return *this;
  }
  // Fields left empty.
  RowWriter& Skip(int count) {
    row_.append(static_cast<std::size_t>(count), ',');
    return *this;
  }

 private:
  void Separate() {
    if (!first_) row_ += ',';
    first_ = false;
  }

  std::string& row_;
  int angleForm_, distanceForm_;
  bool first_ = true;
};

}  // namespace

void AppendCsvMeasureRow(std::string& row, const MeasureRecord& record, const Settings& settings) {
  RowWriter w(row, AngleFormCode(settings), DistanceFormCode(settings));
  switch (record.Kind) {
    case KindStation: {
      const StationBody& b = record.Station;
      w.T("STA").T(ShownNameView(b.Name)).D(b.InstrumentHeight).T(b.Code.View()).D(b.X).D(b.Y).D(b.Z);
      break;
    }
    case KindBacksight: {
      const BacksightBody& b = record.Backsight;
      w.T("SC").T(ShownNameView(b.Name)).D(b.TargetHeight).T("");
      w.A(b.HorizontalAngle).A(b.VerticalAngle).D(b.SlopeDistance);
      if (b.HasBacksightPoint != 0) {
        w.D(b.BacksightEast).D(b.BacksightNorth).D(b.BacksightElevation);
      } else {
        w.Skip(3);
      }
      break;
    }
    case KindAngleShot: {
      const AngleShotBody& b = record.AngleShot;
      w.T("SC").T(ShownNameView(b.Name)).D(b.TargetHeight).T(b.Code.View());
      w.A(b.HorizontalAngle).A(b.VerticalAngle).Skip(4);
      break;
    }
    case KindSlopeShot: {
      const SlopeShotBody& b = record.SlopeShot;
      w.T("SC").T(ShownNameView(b.Name)).D(b.TargetHeight).T(b.Code.View());
      w.A(b.HorizontalAngle).A(b.VerticalAngle).D(b.SlopeDistance).Skip(3);
      break;
    }
    case KindCoordShot: {
      const CoordShotBody& b = record.CoordShot;
      w.T("SC").T(ShownNameView(b.Name)).D(b.TargetHeight).T(b.Code.View());
      if (b.HasObservation != 0) {
        w.A(b.HorizontalAngle).A(b.VerticalAngle).D(b.SlopeDistance);
      } else {
        w.Skip(3);
      }
      w.D(b.East).D(b.North).D(b.Elevation);
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
    w.Point(ShownNameView(point.Name)).Point(point.Code.View()).D(point.East).D(point.North).D(point.Elevation);
  if (layout == CoordLayoutGts7)
    w.Point(ShownNameView(point.Name)).D(point.East).D(point.North).D(point.Elevation).Point(point.Code.View());
}

std::string FormatPointRow(const PointRecord& point, int layout, const Settings& settings) {
  std::string row;
  AppendPointRow(row, point, layout, settings);
  return row;
}

}  // namespace theolink
