#pragma once
// Polar reduction of a measurement job: coordinates for the shots measured by angle and
// distance, from their station set-up and its backsight, and the residuals of the SC shots
// whose coordinates the instrument stored.
#include <cstddef>
#include <vector>

#include "files/working_data.h"
#include "records/measure_record.h"
#include "records/settings.h"

namespace theolink {

// Why a shot got no coordinates.
enum class ShotSkip {
  NoDistance,     // SA, or a slope distance that is not a positive number
  NoStation,      // before the first station set-up
  NoOrientation,  // its station has no backsight with coordinates (or one on the station)
};

struct ReducedShot {
  std::size_t Record = 0;  // index in the record list
  std::size_t Station = 0;  // index of its STA record
  PointRecord Point;       // the shot's name and code, computed north, east, elevation
  bool HasStored = false;  // an SC shot: the residuals below are set
  double ResidualNorth = 0, ResidualEast = 0, ResidualElevation = 0;  // stored minus computed
};

struct SkippedShot {
  std::size_t Record = 0;
  ShotSkip Why = ShotSkip::NoDistance;
};

struct ShotReduction {
  std::vector<ReducedShot> Shots;     // in list order
  std::vector<SkippedShot> Skipped;   // in list order
  std::size_t CountSkipped(ShotSkip why) const;
};

// Walks the records in list order. A STA starts a station, unoriented; each BS at it sets
// the orientation (bearing to its backsight point minus the horizontal angle measured to
// it), or clears it when the BS has no backsight coordinates. SD shots and SC shots with an
// observation are reduced with the K and grid scale of the settings (as the GTS-7 export
// with horizontal distances does); SA shots and shots of no oriented station are skipped.
ShotReduction ReduceShots(const std::vector<MeasureRecord>& records, const Settings& settings);

// The job's points for the coordinate outputs, in list order: the extracted points, plus,
// when settings.ComputeShots is on, one point per reduced shot the instrument stored no
// coordinates for. With the option off exactly the plain extraction.
std::vector<PointRecord> JobPoints(const std::vector<MeasureRecord>& records, const Settings& settings);
// JobPoints appended to PointList: what the Coord button and the coordinate exports use.
void ExtractJobPoints(WorkingData& data, const Settings& settings);

}  // namespace theolink
