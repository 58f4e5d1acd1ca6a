#include "records/bearing.h"

#include <cmath>
#include <numbers>

namespace theolink {

std::int32_t BearingBetween(double fromNorth, double fromEast, double toNorth, double toEast,
                            double& bearingDegrees) {
  if (fromNorth == toNorth && fromEast == toEast) return -1;
  double bearing = std::atan2(toEast - fromEast, toNorth - fromNorth) * 180.0 / std::numbers::pi;
  if (bearing < 0) bearing += 360.0;
  bearingDegrees = bearing;
  return 0;
}

double NormalDirection(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  // fmod of a tiny negative value plus 360 rounds up to 360 itself.
  return d >= 360.0 ? 0.0 : d;
}

double DirectionDifference(double to, double from) {
  double d = NormalDirection(to - from);
  if (d > 180.0) d -= 360.0;
  return d;
}

}  // namespace theolink
