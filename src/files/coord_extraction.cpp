#include "files/line_loaders.h"

namespace theolink {

void ExtractCoordPoints(const std::vector<MeasureRecord>& records, std::vector<PointRecord>& points) {
  for (const MeasureRecord& record : records) {
    PointRecord point;
    switch (record.Kind) {
      case KindStation:
        point.Name = record.Station.Name;
        point.Code = record.Station.Code;
        point.North = record.Station.Y;
        point.East = record.Station.X;
        point.Elevation = record.Station.Z;
        break;
      case KindBacksight:
        if (record.Backsight.HasBacksightPoint == 0) continue;
        point.Name = record.Backsight.Name;
        point.North = record.Backsight.BacksightNorth;
        point.East = record.Backsight.BacksightEast;
        point.Elevation = record.Backsight.BacksightElevation;
        break;
      case KindCoordShot:
        point.Name = record.CoordShot.Name;
        point.Code = record.CoordShot.Code;
        point.North = record.CoordShot.North;
        point.East = record.CoordShot.East;
        point.Elevation = record.CoordShot.Elevation;
        break;
      default:
        continue;
    }
    points.push_back(point);
  }
}

void ExtractCoordPoints(WorkingData& data) { ExtractCoordPoints(data.MeasurementList, data.PointList); }

}  // namespace theolink
