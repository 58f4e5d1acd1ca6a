#pragma once
// The station check: per station set-up, what a surveyor looks at before trusting the
// coordinates of its shots, and which of it passes the limits of the settings. Plain
// values, for the command line's report and the window's list alike.
#include <cstddef>
#include <vector>

#include "files/shot_reduction.h"
#include "records/measure_record.h"
#include "records/settings.h"

namespace theolink {

enum class CheckItem {
  Residual,           // the largest of a shot's residuals
  BacksightDistance,  // measured minus computed horizontal distance to the backsight
  Collimation,
  Index,
  FaceDistance,       // slope distance face I minus face II
};

struct CheckWarning {
  CheckItem What = CheckItem::Residual;
  std::size_t Record = 0;  // the record it names (of a face pair: its face II record)
  double Value = 0;        // metres, or degrees for Collimation and Index
  double Limit = 0;        // the same unit
};

struct StationCheck {
  std::size_t Record = 0;                 // its STA record
  std::vector<Orientation> Orientations;  // its BS records
  std::vector<ReducedShot> Residuals;     // its reduced shots with stored coordinates
  std::vector<SkippedShot> NotReduced;    // its SC shots with an observation left unreduced
  std::vector<FacePair> Faces;
  std::vector<CheckWarning> Warnings;     // the items above, in that order, past their limit
};

// One entry per STA record, in list order. A value passes its limit when its size is
// greater than the limit: LengthTolerance for residuals and distances, AngleTolerance
// (arc seconds) for collimation and index.
std::vector<StationCheck> CheckStations(const std::vector<MeasureRecord>& records, const Settings& settings);

}  // namespace theolink
