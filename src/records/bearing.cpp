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

}  // namespace theolink
