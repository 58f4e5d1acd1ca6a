#include "files/csv_rows.h"

#include <initializer_list>
#include <string_view>

#include "records/value_forms.h"

namespace theolink {
namespace {

// Names and codes that the comma reader would cut (a comma, a quote, a blank or control
// character) are quoted so the row reads back as written; all others stay bare.
std::string PointField(std::string_view text) {
  bool needsQuotes = !text.empty() && text.front() == '"';
  for (char c : text)
    if (c == ',' || c == '"' || (static_cast<unsigned char>(c) <= 32)) needsQuotes = true;
  if (!needsQuotes) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string JoinFields(std::initializer_list<std::string_view> fields) {
  std::string row;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) row += ',';
    row += f;
    first = false;
  }
  return row;
}

}  // namespace

std::string FormatCsvMeasureRow(const MeasureRecord& record, const Settings& settings) {
  const int af = AngleFormCode(settings);
  const int df = DistanceFormCode(settings);
  auto A = [af](double x) { return FormatAngle(x, af); };
  auto D = [df](double x) { return FormatDistance(x, df); };
  switch (record.Kind) {
    case KindStation: {
      const StationBody& b = record.Station;
      return JoinFields({"STA", ShownName(b.Name), D(b.InstrumentHeight), b.Code.View(), D(b.X), D(b.Y), D(b.Z)});
    }
    case KindBacksight: {
      const BacksightBody& b = record.Backsight;
      const bool point = b.HasBacksightPoint != 0;
      return JoinFields({"SC", ShownName(b.Name), D(b.TargetHeight), "", A(b.HorizontalAngle), A(b.VerticalAngle),
                         D(b.SlopeDistance), point ? D(b.BacksightEast) : "", point ? D(b.BacksightNorth) : "",
                         point ? D(b.BacksightElevation) : ""});
    }
    case KindAngleShot: {
      const AngleShotBody& b = record.AngleShot;
      return JoinFields({"SC", ShownName(b.Name), D(b.TargetHeight), b.Code.View(), A(b.HorizontalAngle),
                         A(b.VerticalAngle), "", "", "", ""});
    }
    case KindSlopeShot: {
      const SlopeShotBody& b = record.SlopeShot;
      return JoinFields({"SC", ShownName(b.Name), D(b.TargetHeight), b.Code.View(), A(b.HorizontalAngle),
                         A(b.VerticalAngle), D(b.SlopeDistance), "", "", ""});
    }
    case KindCoordShot: {
      const CoordShotBody& b = record.CoordShot;
      const bool obs = b.HasObservation != 0;
      return JoinFields({"SC", ShownName(b.Name), D(b.TargetHeight), b.Code.View(),
                         obs ? A(b.HorizontalAngle) : "", obs ? A(b.VerticalAngle) : "",
                         obs ? D(b.SlopeDistance) : "", D(b.East), D(b.North), D(b.Elevation)});
    }
    default:
      return {};
  }
}

std::string FormatPointRow(const PointRecord& point, int layout, const Settings& settings) {
  const int df = DistanceFormCode(settings);
  const std::string name = PointField(ShownName(point.Name));
  const std::string code = PointField(point.Code.View());
  if (layout == CoordLayoutCass)
    return JoinFields({name, code, FormatDistance(point.East, df), FormatDistance(point.North, df),
                       FormatDistance(point.Elevation, df)});
  if (layout == CoordLayoutGts7)
    return JoinFields({name, FormatDistance(point.East, df), FormatDistance(point.North, df),
                       FormatDistance(point.Elevation, df), code});
  return {};
}

}  // namespace theolink
