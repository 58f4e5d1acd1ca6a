#pragma once
// Bearing between two points in the plane.
#include <cstdint>

namespace theolink {

// Bearing from the first point to the second, clockwise from north, 0 up to 360 degrees.
// Returns 0, or -1 (bearingDegrees untouched) when both points have the same north and east.
std::int32_t BearingBetween(double fromNorth, double fromEast, double toNorth, double toEast,
                            double& bearingDegrees);

}  // namespace theolink
