#include "files/shot_reduction.h"

#include <cmath>
#include <numbers>

#include "files/line_loaders.h"
#include "files/slope_reduction.h"
#include "records/bearing.h"

namespace theolink {
namespace {

struct Setup {
  bool Present = false;
  bool Oriented = false;
  std::size_t Record = 0;
  double North = 0, East = 0, Elevation = 0, InstrumentHeight = 0;
  double Orientation = 0;  // bearing of horizontal circle reading 0, degrees
};

struct Observation {
  NameText Name, Code;
  double TargetHeight, HorizontalAngle, VerticalAngle, SlopeDistance;
};

// The instrument height and target height are part of the height difference; the grid
// scale and K enter only through the shared slope reduction.
PointRecord Reduce(const Setup& setup, const Observation& shot, double k, double scale) {
  const ReducedSlope reduced = ReduceSlope(shot.SlopeDistance, shot.VerticalAngle, k, scale);
  const double bearing = (setup.Orientation + shot.HorizontalAngle) * std::numbers::pi / 180.0;
  PointRecord point;
  point.Name = shot.Name;
  point.Code = shot.Code;
  point.North = setup.North + reduced.Horizontal * std::cos(bearing);
  point.East = setup.East + reduced.Horizontal * std::sin(bearing);
  point.Elevation = setup.Elevation + setup.InstrumentHeight + reduced.Height - shot.TargetHeight;
  return point;
}

void Orient(Setup& setup, const BacksightBody& backsight) {
  double bearing = 0;
  setup.Oriented = backsight.HasBacksightPoint != 0 &&
                   BearingBetween(setup.North, setup.East, backsight.BacksightNorth, backsight.BacksightEast,
                                  bearing) == 0 &&
                   std::isfinite(bearing) && std::isfinite(backsight.HorizontalAngle);
  if (setup.Oriented) setup.Orientation = bearing - backsight.HorizontalAngle;
}

}  // namespace

std::size_t ShotReduction::CountSkipped(ShotSkip why) const {
  std::size_t count = 0;
  for (const SkippedShot& skipped : Skipped) count += skipped.Why == why ? 1 : 0;
  return count;
}

ShotReduction ReduceShots(const std::vector<MeasureRecord>& records, const Settings& settings) {
  const double k = KValue(settings);
  const double scale = GridScaleValue(settings);
  ShotReduction result;
  Setup setup;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const MeasureRecord& record = records[i];
    Observation shot{};
    const CoordShotBody* stored = nullptr;
    switch (record.Kind) {
      case KindStation:
        setup = Setup{true, false, i, record.Station.Y, record.Station.X, record.Station.Z,
                      record.Station.InstrumentHeight, 0};
        continue;
      case KindBacksight:
        if (setup.Present) Orient(setup, record.Backsight);
        continue;
      case KindAngleShot:
        result.Skipped.push_back({i, ShotSkip::NoDistance});
        continue;
      case KindSlopeShot: {
        const SlopeShotBody& b = record.SlopeShot;
        shot = {b.Name, b.Code, b.TargetHeight, b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance};
        break;
      }
      case KindCoordShot: {
        const CoordShotBody& b = record.CoordShot;
        if (b.HasObservation == 0) continue;
        shot = {b.Name, b.Code, b.TargetHeight, b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance};
        stored = &b;
        break;
      }
      default:
        continue;
    }
    // A zero distance is an angle-only shot stored as SD; it would land on the station.
    if (!(std::isfinite(shot.SlopeDistance) && shot.SlopeDistance > 0)) {
      result.Skipped.push_back({i, ShotSkip::NoDistance});
      continue;
    }
    if (!setup.Present || !setup.Oriented) {
      result.Skipped.push_back({i, setup.Present ? ShotSkip::NoOrientation : ShotSkip::NoStation});
      continue;
    }
    ReducedShot reduced;
    reduced.Record = i;
    reduced.Station = setup.Record;
    reduced.Point = Reduce(setup, shot, k, scale);
    if (stored != nullptr) {
      reduced.HasStored = true;
      reduced.ResidualNorth = stored->North - reduced.Point.North;
      reduced.ResidualEast = stored->East - reduced.Point.East;
      reduced.ResidualElevation = stored->Elevation - reduced.Point.Elevation;
    }
    result.Shots.push_back(reduced);
  }
  return result;
}

std::vector<PointRecord> JobPoints(const std::vector<MeasureRecord>& records, const Settings& settings) {
  std::vector<PointRecord> points;
  if (!settings.ComputeShots) {
    ExtractCoordPoints(records, points);
    return points;
  }
  const ShotReduction reduction = ReduceShots(records, settings);
  auto shot = reduction.Shots.begin();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (const auto point = ExtractedPoint(records[i])) {
      // The instrument's own coordinates win over the computed ones.
      points.push_back(*point);
    } else if (shot != reduction.Shots.end() && shot->Record == i) {
      points.push_back(shot->Point);
    }
    if (shot != reduction.Shots.end() && shot->Record == i) ++shot;
  }
  return points;
}

void ExtractJobPoints(WorkingData& data, const Settings& settings) {
  if (!settings.ComputeShots) {
    ExtractCoordPoints(data);
    return;
  }
  const std::vector<PointRecord> points = JobPoints(data.MeasurementList, settings);
  data.PointList.insert(data.PointList.end(), points.begin(), points.end());
}

}  // namespace theolink
