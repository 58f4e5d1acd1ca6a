#include "files/station_check.h"

#include <algorithm>
#include <cmath>

namespace theolink {
namespace {

// The STA records' places in the list, to find a station's entry from its record.
std::size_t EntryOf(const std::vector<StationCheck>& checks, std::size_t station) {
  const auto it = std::lower_bound(checks.begin(), checks.end(), station,
                                   [](const StationCheck& c, std::size_t record) { return c.Record < record; });
  return static_cast<std::size_t>(it - checks.begin());
}

void WarnPast(StationCheck& check, CheckItem what, std::size_t record, double value, double limit) {
  // NaN compares false and never warns; it cannot come from a reduced shot.
  if (std::fabs(value) > limit) check.Warnings.push_back({what, record, value, limit});
}

}  // namespace

std::vector<StationCheck> CheckStations(const std::vector<MeasureRecord>& records, const Settings& settings) {
  std::vector<StationCheck> checks;
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].Kind == KindStation) checks.push_back(StationCheck{i, {}, {}, {}, {}, {}});
  if (checks.empty()) return checks;

  const ShotReduction reduction = ReduceShots(records, settings);
  for (const Orientation& o : reduction.Orientations) checks[EntryOf(checks, o.Station)].Orientations.push_back(o);
  for (const ReducedShot& shot : reduction.Shots)
    if (shot.HasStored) checks[EntryOf(checks, shot.Station)].Residuals.push_back(shot);
  for (const SkippedShot& skipped : reduction.Skipped) {
    const MeasureRecord& r = records[skipped.Record];
    if (r.Kind != KindCoordShot || r.CoordShot.HasObservation == 0) continue;
    // The station of a shot is the last STA before it; a shot before any has none.
    const std::size_t after = EntryOf(checks, skipped.Record + 1);
    if (after > 0) checks[after - 1].NotReduced.push_back(skipped);
  }
  for (const FacePair& pair : reduction.Pairs) checks[EntryOf(checks, pair.Station)].Faces.push_back(pair);

  const double length = settings.LengthTolerance;
  const double angle = settings.AngleTolerance / 3600.0;
  for (StationCheck& check : checks) {
    for (const Orientation& o : check.Orientations)
      if (o.Measured)
        WarnPast(check, CheckItem::BacksightDistance, o.Record, o.MeasuredDistance - o.ComputedDistance, length);
    for (const ReducedShot& shot : check.Residuals) {
      const double largest =
          std::max({std::fabs(shot.ResidualNorth), std::fabs(shot.ResidualEast), std::fabs(shot.ResidualElevation)});
      WarnPast(check, CheckItem::Residual, shot.Record, largest, length);
    }
    for (const FacePair& pair : check.Faces) {
      WarnPast(check, CheckItem::Collimation, pair.FaceTwo, pair.Collimation, angle);
      WarnPast(check, CheckItem::Index, pair.FaceTwo, pair.Index, angle);
      if (pair.HasDistance) WarnPast(check, CheckItem::FaceDistance, pair.FaceTwo, pair.DistanceDifference, length);
    }
  }
  return checks;
}

}  // namespace theolink
