#include "files/line_loaders.h"

namespace theolink {

void ExtractCoordPoints(const std::vector<MeasureRecord>& records, std::vector<PointRecord>& points) {
  for (const MeasureRecord& record : records) {
    switch (record.Kind) {
      case KindStation: {
        const StationBody& s = record.Station;
        points.push_back(PointRecord{s.Name, s.Code, s.Y, s.X, s.Z});
        break;
      }
      case KindBacksight: {
        const BacksightBody& b = record.Backsight;
        if (b.HasBacksightPoint == 0) continue;
        points.push_back(PointRecord{b.Name, NameText(), b.BacksightNorth, b.BacksightEast, b.BacksightElevation});
        break;
      }
      case KindCoordShot: {
        const CoordShotBody& c = record.CoordShot;
        points.push_back(PointRecord{c.Name, c.Code, c.North, c.East, c.Elevation});
        break;
      }
      default:
        continue;
    }
  }
}

void ExtractCoordPoints(WorkingData& data) { ExtractCoordPoints(data.MeasurementList, data.PointList); }

}  // namespace theolink
