#include "files/line_loaders.h"

namespace theolink {

std::optional<PointRecord> ExtractedPoint(const MeasureRecord& record) {
  PointRecord point;
  switch (record.Kind) {
    case KindStation:
      point.Name = record.Station.Name;
      point.Code = record.Station.Code;
      point.North = record.Station.Y;
      point.East = record.Station.X;
      point.Elevation = record.Station.Z;
      return point;
    case KindBacksight:
      if (record.Backsight.HasBacksightPoint == 0) return std::nullopt;
      point.Name = record.Backsight.Name;
      point.North = record.Backsight.BacksightNorth;
      point.East = record.Backsight.BacksightEast;
      point.Elevation = record.Backsight.BacksightElevation;
      return point;
    case KindCoordShot:
      point.Name = record.CoordShot.Name;
      point.Code = record.CoordShot.Code;
      point.North = record.CoordShot.North;
      point.East = record.CoordShot.East;
      point.Elevation = record.CoordShot.Elevation;
      return point;
    default:
      return std::nullopt;
  }
}

void ExtractCoordPoints(const std::vector<MeasureRecord>& records, std::vector<PointRecord>& points) {
  for (const MeasureRecord& record : records) {
    if (const auto point = ExtractedPoint(record)) points.push_back(*point);
  }
}

void ExtractCoordPoints(WorkingData& data) { ExtractCoordPoints(data.MeasurementList, data.PointList); }

}  // namespace theolink
