#pragma once
// A slope observation reduced to horizontal distance and height difference, corrected for
// earth curvature and refraction: the one computation behind the GTS-7 export with
// horizontal distances and the coordinates of reduced shots.

namespace theolink {

struct ReducedSlope {
  double Horizontal;  // scaled by the grid scale when 0.9 < scale < 1.1
  double Height;      // instrument axis to target, never scaled
};

// k is the refraction coefficient; zenithDegrees the vertical circle reading (0 up, 90
// level). The horizontal part is taken as |s sin z|, so a reading above 180 still gives a
// positive distance.
ReducedSlope ReduceSlope(double slopeDistance, double zenithDegrees, double k, double scale);

}  // namespace theolink
