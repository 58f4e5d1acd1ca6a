#include "files/slope_reduction.h"

#include <cmath>

namespace theolink {
namespace {

// The instrument's own constants; the truncated pi is part of the numbers it writes.
constexpr double kEarthRadius = 6370000.0;
constexpr double kPi = 3.141592653;

}  // namespace

ReducedSlope ReduceSlope(double slopeDistance, double zenithDegrees, double k, double scale) {
  const double z = zenithDegrees * kPi / 180.0;
  const double p = std::fabs(slopeDistance * std::sin(z));
  const double q = slopeDistance * std::cos(z);
  double h = p - ((2.0 - k) / (2.0 * kEarthRadius)) * q * p;
  if (scale > 0.9 && scale < 1.1) h *= scale;
  // The curvature term uses the uncorrected, unscaled horizontal part.
  const double v = q + ((1.0 - k) / (2.0 * kEarthRadius)) * p * p;
  return {h, v};
}

}  // namespace theolink
