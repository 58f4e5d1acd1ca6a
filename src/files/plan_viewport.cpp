#include "files/plan_viewport.h"

#include <algorithm>
#include <cmath>

namespace theolink {

ScreenPoint PlanViewport::ToScreen(double north, double east) const {
  return {Width / 2.0 + (east - CenterEast) * Scale, Height / 2.0 - (north - CenterNorth) * Scale};
}

void PlanViewport::ToPlane(double x, double y, double& north, double& east) const {
  east = CenterEast + (x - Width / 2.0) / Scale;
  north = CenterNorth - (y - Height / 2.0) / Scale;
}

PlanViewport FitPlan(const PlanBounds& bounds, int width, int height, int margin, int labelRoom) {
  PlanViewport view;
  view.Width = std::max(1, width);
  view.Height = std::max(1, height);
  view.Scale = 10;
  if (bounds.Empty) return view;
  view.CenterNorth = (bounds.MinNorth + bounds.MaxNorth) / 2;
  view.CenterEast = (bounds.MinEast + bounds.MaxEast) / 2;
  labelRoom = std::clamp(labelRoom, 0, view.Width / 4);
  const double roomX = std::max(1, view.Width - 2 * margin - labelRoom);
  const double roomY = std::max(1, view.Height - 2 * margin);
  const double spanEast = bounds.MaxEast - bounds.MinEast;
  const double spanNorth = bounds.MaxNorth - bounds.MinNorth;
  if (spanEast <= 0 && spanNorth <= 0) return view;
  double scale = std::min(spanEast > 0 ? roomX / spanEast : HUGE_VAL, spanNorth > 0 ? roomY / spanNorth : HUGE_VAL);
  view.Scale = std::clamp(scale, PlanMinScale, PlanMaxScale);
  view.CenterEast += labelRoom / 2.0 / view.Scale;
  return view;
}

PlanViewport ZoomPlan(const PlanViewport& view, double factor, double x, double y) {
  if (!(factor > 0) || !std::isfinite(factor)) return view;
  double north = 0, east = 0;
  view.ToPlane(x, y, north, east);
  PlanViewport zoomed = view;
  zoomed.Scale = std::clamp(view.Scale * factor, PlanMinScale, PlanMaxScale);
  // The plane point under the pointer stays under it.
  zoomed.CenterEast = east - (x - view.Width / 2.0) / zoomed.Scale;
  zoomed.CenterNorth = north + (y - view.Height / 2.0) / zoomed.Scale;
  return zoomed;
}

PlanViewport PanPlan(const PlanViewport& view, double dx, double dy) {
  PlanViewport moved = view;
  moved.CenterEast -= dx / view.Scale;
  moved.CenterNorth += dy / view.Scale;
  return moved;
}

double NiceLength(double length) {
  if (!(length > 0) || !std::isfinite(length)) return 0;
  const double power = std::pow(10.0, std::floor(std::log10(length)));
  for (double step : {5.0, 2.0, 1.0})
    if (step * power <= length * (1 + 1e-12)) return step * power;
  return power;
}

}  // namespace theolink
