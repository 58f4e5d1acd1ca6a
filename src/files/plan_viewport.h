#pragma once
// Where the plan sits on the screen: north up, east to the right, a scale in pixels per
// metre about a centre point. Zoom, pan and fit as plain values.
#include "files/plan_scene.h"

namespace theolink {

struct ScreenPoint {
  double X = 0, Y = 0;  // pixels from the top left corner
};

struct PlanViewport {
  double CenterNorth = 0, CenterEast = 0;
  double Scale = 1;  // pixels per metre
  int Width = 1, Height = 1;

  ScreenPoint ToScreen(double north, double east) const;
  // The plane point (north, east) under a screen position.
  void ToPlane(double x, double y, double& north, double& east) const;
};

inline constexpr double PlanMinScale = 1e-6;  // pixels per metre
inline constexpr double PlanMaxScale = 1e5;

// The whole of bounds inside width x height with margin pixels on every side and
// labelRoom more on the right, where labels go; bounds of one point (or none) are centred
// at 10 pixels per metre.
PlanViewport FitPlan(const PlanBounds& bounds, int width, int height, int margin, int labelRoom = 0);
// Scaled by factor about the screen position (x, y), which keeps the plane point under it.
PlanViewport ZoomPlan(const PlanViewport& view, double factor, double x, double y);
// Moved with the pointer by (dx, dy) pixels.
PlanViewport PanPlan(const PlanViewport& view, double dx, double dy);
// The largest 1, 2 or 5 times a power of ten not above length (length > 0); 0 otherwise.
double NiceLength(double length);

}  // namespace theolink
