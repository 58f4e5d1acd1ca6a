#pragma once
// Finding the plan's points fast: a grid of cells over the scene's bounds, the set worth
// drawing in a viewport (one point per few pixels when they crowd, labels only when they
// fit) and the point under the pointer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "files/plan_scene.h"
#include "files/plan_viewport.h"

namespace theolink {

class PlanIndex {
 public:
  PlanIndex() = default;
  // About four points a cell; the scene must outlive the index.
  explicit PlanIndex(const PlanScene& scene);

  // Calls visit(point index) for every point inside the plane rectangle, cell by cell.
  template <typename Visit>
  void ForEachIn(double minNorth, double minEast, double maxNorth, double maxEast, Visit&& visit) const;

 private:
  const PlanScene* scene_ = nullptr;
  double minNorth_ = 0, minEast_ = 0, cellSize_ = 1;
  std::size_t columns_ = 0, rows_ = 0;
  std::vector<std::uint32_t> cellStart_;  // columns_ * rows_ + 1 offsets into points_
  std::vector<std::uint32_t> points_;
};

// What to draw in a viewport.
struct PlanVisibleSet {
  std::vector<std::size_t> Points;     // stations and backsights first, then the rest
  std::vector<std::size_t> Rays;
  std::vector<std::size_t> Residuals;
  bool Thinned = false;  // points that share a few pixels with one drawn were left out
  bool Labels = false;   // few enough points that every drawn one gets its label
};

inline constexpr int PlanThinCell = 4;           // pixels a drawn point stands for when crowded
inline constexpr std::size_t PlanLabelLimit = 400;  // most labels drawn at once

// The points, rays and residual vectors inside the viewport (with a margin of pad pixels),
// thinned to one point per PlanThinCell pixels square: stations and backsights first, then
// the other points where none of those is. Shot rays shorter than that, or ending where
// another shot ray ends, are left out.
PlanVisibleSet SelectVisible(const PlanScene& scene, const PlanIndex& index, const PlanViewport& view, int pad = 8);

// The point drawn nearest the screen position, within tolerance pixels; none when none is.
std::optional<std::size_t> HitTest(const PlanScene& scene, const PlanIndex& index, const PlanViewport& view,
                                   double x, double y, double tolerance = 6);

template <typename Visit>
void PlanIndex::ForEachIn(double minNorth, double minEast, double maxNorth, double maxEast, Visit&& visit) const {
  if (scene_ == nullptr || columns_ == 0 || !(minNorth <= maxNorth) || !(minEast <= maxEast)) return;
  auto cell = [this](double value, double origin, std::size_t count) -> std::size_t {
    const double c = (value - origin) / cellSize_;
    if (!(c > 0)) return 0;
    if (c >= static_cast<double>(count - 1)) return count - 1;
    return static_cast<std::size_t>(c);
  };
  const std::size_t c0 = cell(minEast, minEast_, columns_), c1 = cell(maxEast, minEast_, columns_);
  const std::size_t r0 = cell(minNorth, minNorth_, rows_), r1 = cell(maxNorth, minNorth_, rows_);
  const auto& points = scene_->Points;
  for (std::size_t r = r0; r <= r1; ++r) {
    for (std::size_t c = c0; c <= c1; ++c) {
      const std::size_t k = r * columns_ + c;
      for (std::uint32_t i = cellStart_[k]; i < cellStart_[k + 1]; ++i) {
        const PlanPoint& p = points[points_[i]];
        if (p.North >= minNorth && p.North <= maxNorth && p.East >= minEast && p.East <= maxEast) visit(points_[i]);
      }
    }
  }
}

}  // namespace theolink
