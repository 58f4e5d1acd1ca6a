#pragma once
// Bearings between points in the plane, and the directions they are read as.
#include <cstdint>

namespace theolink {

// Bearing from the first point to the second, clockwise from north, 0 up to 360 degrees.
// Returns 0, or -1 (bearingDegrees untouched) when both points have the same north and east.
std::int32_t BearingBetween(double fromNorth, double fromEast, double toNorth, double toEast,
                            double& bearingDegrees);

// The direction brought into 0 up to 360 degrees.
double NormalDirection(double degrees);
// to minus from as the shorter turn, -180 up to 180 degrees.
double DirectionDifference(double to, double from);

}  // namespace theolink
