#include "files/plan_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace theolink {
namespace {

// One bit per PlanThinCell square of the viewport (and its pad): taken or free.
class Occupancy {
 public:
  Occupancy(const PlanViewport& view, int pad)
      : pad_(pad),
        columns_(static_cast<std::size_t>((view.Width + 2 * pad) / PlanThinCell + 1)),
        rows_(static_cast<std::size_t>((view.Height + 2 * pad) / PlanThinCell + 1)),
        taken_(columns_ * rows_, false) {}

  // True the first time a square is taken.
  bool Take(const ScreenPoint& s) {
    const double cx = (s.X + pad_) / PlanThinCell, cy = (s.Y + pad_) / PlanThinCell;
    if (!(cx >= 0) || !(cy >= 0)) return false;
    const auto c = static_cast<std::size_t>(cx), r = static_cast<std::size_t>(cy);
    if (c >= columns_ || r >= rows_) return false;
    const std::size_t k = r * columns_ + c;
    if (taken_[k]) return false;
    taken_[k] = true;
    return true;
  }

 private:
  int pad_;
  std::size_t columns_, rows_;
  std::vector<bool> taken_;
};

bool SegmentNear(const PlanViewport& view, const ScreenPoint& a, const ScreenPoint& b, int pad) {
  return std::max(a.X, b.X) >= -pad && std::min(a.X, b.X) <= view.Width + pad && std::max(a.Y, b.Y) >= -pad &&
         std::min(a.Y, b.Y) <= view.Height + pad;
}

}  // namespace

PlanIndex::PlanIndex(const PlanScene& scene) : scene_(&scene) {
  const PlanBounds& b = scene.Bounds;
  if (scene.Points.empty() || b.Empty) return;
  minNorth_ = b.MinNorth;
  minEast_ = b.MinEast;
  const double spanNorth = b.MaxNorth - b.MinNorth, spanEast = b.MaxEast - b.MinEast;
  const double cells = std::max(1.0, static_cast<double>(scene.Points.size()) / 4);
  const double area = std::max(spanNorth, 1e-9) * std::max(spanEast, 1e-9);
  cellSize_ = std::max(std::sqrt(area / cells), 1e-9);
  // A long thin survey (a road) must not make one side millions of cells.
  auto count = [this](double span) {
    return static_cast<std::size_t>(std::clamp(std::floor(span / cellSize_) + 1, 1.0, 4096.0));
  };
  columns_ = count(spanEast);
  rows_ = count(spanNorth);
  cellSize_ = std::max({cellSize_, spanEast / static_cast<double>(columns_), spanNorth / static_cast<double>(rows_)});
  std::vector<std::uint32_t> cellOf(scene.Points.size());
  cellStart_.assign(columns_ * rows_ + 1, 0);
  for (std::size_t i = 0; i < scene.Points.size(); ++i) {
    const PlanPoint& p = scene.Points[i];
    const auto c = std::min(columns_ - 1, static_cast<std::size_t>(std::max(0.0, (p.East - minEast_) / cellSize_)));
    const auto r = std::min(rows_ - 1, static_cast<std::size_t>(std::max(0.0, (p.North - minNorth_) / cellSize_)));
    cellOf[i] = static_cast<std::uint32_t>(r * columns_ + c);
    ++cellStart_[cellOf[i] + 1];
  }
  for (std::size_t k = 1; k < cellStart_.size(); ++k) cellStart_[k] += cellStart_[k - 1];
  points_.resize(scene.Points.size());
  std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  for (std::size_t i = 0; i < scene.Points.size(); ++i) points_[next[cellOf[i]]++] = static_cast<std::uint32_t>(i);
}

PlanVisibleSet SelectVisible(const PlanScene& scene, const PlanIndex& index, const PlanViewport& view, int pad) {
  PlanVisibleSet set;
  double north0 = 0, east0 = 0, north1 = 0, east1 = 0;
  view.ToPlane(-pad, view.Height + pad, north0, east0);
  view.ToPlane(view.Width + pad, -pad, north1, east1);
  std::vector<std::size_t> plain;
  index.ForEachIn(north0, east0, north1, east1, [&](std::size_t i) {
    (scene.Points[i].Marks & (PlanMarkStation | PlanMarkBacksight) ? set.Points : plain).push_back(i);
  });
  // Cell by cell and in list order within a cell: the same view keeps the same points.
  // Stations and backsights take their squares first; only where they crowd each other is
  // one left for another.
  Occupancy taken(view, pad);
  std::erase_if(set.Points, [&](std::size_t i) {
    const bool drawn = taken.Take(view.ToScreen(scene.Points[i].North, scene.Points[i].East));
    if (!drawn) set.Thinned = true;
    return !drawn;
  });
  for (std::size_t i : plain) {
    if (taken.Take(view.ToScreen(scene.Points[i].North, scene.Points[i].East))) set.Points.push_back(i);
    else set.Thinned = true;
  }
  set.Labels = set.Points.size() <= PlanLabelLimit && !set.Thinned;

  Occupancy rayEnds(view, pad);
  for (std::size_t i = 0; i < scene.Rays.size(); ++i) {
    const PlanRay& r = scene.Rays[i];
    const ScreenPoint a = view.ToScreen(r.FromNorth, r.FromEast), b = view.ToScreen(r.ToNorth, r.ToEast);
    if (!SegmentNear(view, a, b, pad)) continue;
    if (r.Kind == PlanRayKind::Shot) {
      // A ray hidden under its two marks, or to where one is drawn already, adds nothing.
      if (std::hypot(b.X - a.X, b.Y - a.Y) < PlanThinCell) continue;
      const bool endShown = b.X >= -pad && b.Y >= -pad && b.X <= view.Width + pad && b.Y <= view.Height + pad;
      if (endShown && !rayEnds.Take(b)) continue;
    }
    set.Rays.push_back(i);
  }
  Occupancy residualBases(view, pad);
  for (std::size_t i = 0; i < scene.Residuals.size(); ++i) {
    const PlanResidual& r = scene.Residuals[i];
    if (residualBases.Take(view.ToScreen(r.North, r.East))) set.Residuals.push_back(i);
  }
  return set;
}

std::optional<std::size_t> HitTest(const PlanScene& scene, const PlanIndex& index, const PlanViewport& view,
                                   double x, double y, double tolerance) {
  double north0 = 0, east0 = 0, north1 = 0, east1 = 0;
  view.ToPlane(x - tolerance, y + tolerance, north0, east0);
  view.ToPlane(x + tolerance, y - tolerance, north1, east1);
  std::optional<std::size_t> best;
  double bestDistance = std::numeric_limits<double>::infinity();
  index.ForEachIn(north0, east0, north1, east1, [&](std::size_t i) {
    const ScreenPoint s = view.ToScreen(scene.Points[i].North, scene.Points[i].East);
    const double d = std::hypot(s.X - x, s.Y - y);
    // The earliest of points on one spot, as the list shows it first.
    if (d <= tolerance && (d < bestDistance || (d == bestDistance && best && i < *best))) {
      bestDistance = d;
      best = i;
    }
  });
  return best;
}

}  // namespace theolink
