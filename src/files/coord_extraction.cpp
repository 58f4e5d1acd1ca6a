#include "files/line_loaders.h"

#include <algorithm>

namespace theolink {

std::optional<PointRecord> ExtractedPoint(const MeasureRecord& record) {
  switch (record.Kind) {
    case KindStation: {
      const StationBody& s = record.Station;
      return PointRecord{s.Name, s.Code, s.Y, s.X, s.Z, true};
    }
    case KindBacksight: {
      const BacksightBody& b = record.Backsight;
      if (b.HasBacksightPoint == 0) return std::nullopt;
      return PointRecord{b.Name, NameText(), b.BacksightNorth, b.BacksightEast, b.BacksightElevation};
    }
    case KindCoordShot: {
      const CoordShotBody& c = record.CoordShot;
      return PointRecord{c.Name, c.Code, c.North, c.East, c.Elevation};
    }
    default:
      return std::nullopt;
  }
}

void ExtractCoordPoints(std::span<const MeasureRecord> records, std::vector<PointRecord>& points) {
  // Counted first: a list grown point by point is copied over and over.
  const auto count = std::count_if(records.begin(), records.end(),
                                   [](const MeasureRecord& record) { return ExtractedPoint(record).has_value(); });
  // Runs of a job come one after another: grow by at least half, never by each run alone.
  const std::size_t needed = points.size() + static_cast<std::size_t>(count);
  if (needed > points.capacity()) points.reserve(std::max(needed, points.capacity() + points.capacity() / 2));
  for (const MeasureRecord& record : records) {
    if (const auto point = ExtractedPoint(record)) points.push_back(*point);
  }
}

void ExtractCoordPoints(WorkingData& data) { ExtractCoordPoints(data.MeasurementList, data.PointList); }

}  // namespace theolink
