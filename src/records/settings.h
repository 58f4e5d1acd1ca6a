#pragma once
// The current display and export settings as one plain value. The live instance is
// owned by the application layer; everything below takes a copy or reference per call.
#include <string>

namespace theolink {

struct Settings {
  int AngleUnit = 0;             // 0 degrees-minutes-seconds, 1 gon, 2 mil
  int DistanceUnit = 0;          // 0 metre, 1 US survey foot, 2 international foot
  std::string KOption = "0.00";  // "0.00", "0.14" or "0.20"
  std::string GridScale = "1.00";  // a number from 0.9 to 1.1 with two to six decimals
  int CoordOrder = 0;            // 0 NEZ; any other value ENZ
  // The coordinate outputs of a job also hold its angle-and-distance shots, reduced from
  // their station and backsight.
  bool ComputeShots = false;
  // Limits of the station check: residuals and differences of distances in metres, face
  // differences of angles in arc seconds.
  double LengthTolerance = 0.02;
  double AngleTolerance = 20;
  // The projected system the coordinates are in, "EPSG:NNNN"; empty when none was chosen.
  std::string Crs;
};

// Form codes of the value forms (value_forms.h): index + 1, code 1 for an invalid index.
int AngleFormCode(const Settings& settings);
int DistanceFormCode(const Settings& settings);
// K and the grid scale as the numbers their texts show (0 and 1 when a text is unreadable).
double KValue(const Settings& settings);
double GridScaleValue(const Settings& settings);
// True when north comes before east in grid columns.
bool IsNorthFirst(const Settings& settings);

}  // namespace theolink
