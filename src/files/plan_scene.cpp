#include "files/plan_scene.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "files/shot_reduction.h"

namespace theolink {
namespace {

bool Finite(double north, double east) { return std::isfinite(north) && std::isfinite(east); }

// The job's points, one per name and place: a backsight that is set up on later is one
// point with both marks.
class JobPoints {
 public:
  explicit JobPoints(PlanScene& scene) : scene_(scene) {}

  void Add(std::string_view name, std::string_view code, double north, double east, std::uint8_t marks) {
    if (!Finite(north, east)) return;
    Key key{std::string(name), north, east};
    const auto found = seen_.find(key);
    if (found != seen_.end()) {
      PlanPoint& point = scene_.Points[found->second];
      point.Marks |= marks;
      if (point.Code.empty()) point.Code = std::string(code);
      return;
    }
    seen_.emplace(std::move(key), scene_.Points.size());
    scene_.Points.push_back({north, east, std::string(name), std::string(code), marks, PlanNoRow});
  }

 private:
  struct Key {
    std::string Name;
    double North, East;
    bool operator==(const Key&) const = default;
  };
  struct Hash {
    std::size_t operator()(const Key& k) const {
      const std::size_t h = std::hash<std::string>()(k.Name);
      return h ^ (std::hash<double>()(k.North) * 31) ^ (std::hash<double>()(k.East) * 131);
    }
  };
  PlanScene& scene_;
  std::unordered_map<Key, std::size_t, Hash> seen_;
};

void AddRay(PlanScene& scene, double fromNorth, double fromEast, double toNorth, double toEast, PlanRayKind kind) {
  if (!Finite(fromNorth, fromEast) || !Finite(toNorth, toEast)) return;
  scene.Rays.push_back({fromNorth, fromEast, toNorth, toEast, kind});
}

void BuildJob(const std::vector<MeasureRecord>& records, const Settings& settings, PlanScene& scene) {
  JobPoints points(scene);
  std::optional<std::size_t> station;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const MeasureRecord& r = records[i];
    if (r.Kind == KindStation) {
      station = i;
      points.Add(r.Station.Name.View(), r.Station.Code.View(), r.Station.Y, r.Station.X, PlanMarkStation);
    } else if (r.Kind == KindBacksight && r.Backsight.HasBacksightPoint != 0) {
      const BacksightBody& b = r.Backsight;
      points.Add(b.Name.View(), {}, b.BacksightNorth, b.BacksightEast, PlanMarkBacksight);
      if (station) {
        const StationBody& s = records[*station].Station;
        AddRay(scene, s.Y, s.X, b.BacksightNorth, b.BacksightEast, PlanRayKind::Backsight);
      }
    } else if (r.Kind == KindCoordShot) {
      const CoordShotBody& c = r.CoordShot;
      points.Add(c.Name.View(), c.Code.View(), c.North, c.East, PlanMarkPoint);
    }
  }
  const ShotReduction reduced = ReduceShots(records, settings);
  for (const ReducedShot& shot : reduced.Shots) {
    if (shot.HasStored) {
      const CoordShotBody& c = records[shot.Record].CoordShot;
      if (Finite(c.North, c.East) && Finite(shot.ResidualNorth, shot.ResidualEast)) {
        scene.Residuals.push_back({c.North, c.East, shot.ResidualNorth, shot.ResidualEast});
        scene.LargestResidual = std::max(scene.LargestResidual, std::hypot(shot.ResidualNorth, shot.ResidualEast));
      }
    }
    if (!settings.ComputeShots) continue;
    const PointRecord& p = shot.Point;
    if (!shot.HasStored) points.Add(p.Name.View(), p.Code.View(), p.North, p.East, PlanMarkShot);
    const StationBody& s = records[shot.Station].Station;
    AddRay(scene, s.Y, s.X, p.North, p.East, PlanRayKind::Shot);
  }
}

}  // namespace

void PlanBounds::Add(double north, double east) {
  if (Empty) {
    MinNorth = MaxNorth = north;
    MinEast = MaxEast = east;
    Empty = false;
    return;
  }
  MinNorth = std::min(MinNorth, north);
  MaxNorth = std::max(MaxNorth, north);
  MinEast = std::min(MinEast, east);
  MaxEast = std::max(MaxEast, east);
}

PlanScene BuildPlanScene(const WorkingData& data, const Settings& settings) {
  PlanScene scene;
  switch (data.DataKind) {
    case DataKind::Measure:
      BuildJob(data.MeasurementList, settings, scene);
      break;
    case DataKind::Coord:
      scene.Points.reserve(data.PointList.size());
      for (std::size_t row = 0; row < data.PointList.size(); ++row) {
        const PointRecord& p = data.PointList[row];
        if (!Finite(p.North, p.East)) continue;
        scene.Points.push_back(
            {p.North, p.East, std::string(p.Name.View()), std::string(p.Code.View()), PlanMarkPoint, row});
      }
      break;
    case DataKind::Code:
      break;
  }
  for (const PlanPoint& p : scene.Points) scene.Bounds.Add(p.North, p.East);
  for (const PlanRay& r : scene.Rays) {
    scene.Bounds.Add(r.FromNorth, r.FromEast);
    scene.Bounds.Add(r.ToNorth, r.ToEast);
  }
  return scene;
}

}  // namespace theolink
