#pragma once
// What the plan view draws of the working data: the points at their north and east, the
// station and backsight marks, the rays from each station and the residual vectors. Plain
// values in metres; the window only paints them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// A point's marks; a point may be more than one (a backsight that is a station later).
enum PlanMark : std::uint8_t {
  PlanMarkPoint = 0,
  PlanMarkStation = 1,
  PlanMarkBacksight = 2,
  PlanMarkShot = 4,  // computed from a reduced shot, not stored
};

inline constexpr std::size_t PlanNoRow = static_cast<std::size_t>(-1);

struct PlanPoint {
  double North = 0, East = 0;
  std::string Name, Code;  // bytes as the data holds them
  std::uint8_t Marks = PlanMarkPoint;
  std::size_t Row = PlanNoRow;  // its grid row (from 0) when the grid lists the points
};

enum class PlanRayKind : std::uint8_t { Backsight, Shot };

struct PlanRay {
  double FromNorth = 0, FromEast = 0, ToNorth = 0, ToEast = 0;
  PlanRayKind Kind = PlanRayKind::Backsight;
};

// Stored minus computed at a stored point: an arrow from where the shot reduces to.
struct PlanResidual {
  double North = 0, East = 0;
  double DeltaNorth = 0, DeltaEast = 0;
};

struct PlanBounds {
  double MinNorth = 0, MinEast = 0, MaxNorth = 0, MaxEast = 0;
  bool Empty = true;
  void Add(double north, double east);
};

struct PlanScene {
  std::vector<PlanPoint> Points;
  std::vector<PlanRay> Rays;
  std::vector<PlanResidual> Residuals;
  PlanBounds Bounds;             // of the points and the rays' ends
  double LargestResidual = 0;    // the longest residual vector's plane length, metres
};

// A job: its stations, backsight points and stored shot coordinates, a ray from each
// station to each backsight it was oriented on, and the residual of every SC shot that was
// reduced; with settings.ComputeShots also the reduced shots the instrument stored no
// coordinates for, each with its ray. Points: the point list, each with its grid row.
// Codes: nothing. Points whose north or east is not a finite number are left out.
PlanScene BuildPlanScene(const WorkingData& data, const Settings& settings);

}  // namespace theolink
