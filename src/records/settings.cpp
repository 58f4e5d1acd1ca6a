#include "records/settings.h"

#include "records/value_forms.h"

namespace theolink {

int AngleFormCode(const Settings& settings) {
  return settings.AngleUnit >= 0 && settings.AngleUnit <= 2 ? settings.AngleUnit + 1 : AngleDms;
}

int DistanceFormCode(const Settings& settings) {
  return settings.DistanceUnit >= 0 && settings.DistanceUnit <= 2 ? settings.DistanceUnit + 1 : DistanceMetre;
}

double KValue(const Settings& settings) {
  double k = 0;
  return TryParseNumber(settings.KOption, k) ? k : 0.0;
}

double GridScaleValue(const Settings& settings) {
  double scale = 1;
  return TryParseNumber(settings.GridScale, scale) ? scale : 1.0;
}

bool IsNorthFirst(const Settings& settings) { return settings.CoordOrder == 0; }

}  // namespace theolink
