#pragma once
// Polar reduction of a measurement job: coordinates for the shots measured by angle and
// distance, from their station set-up and its backsight, the residuals of the SC shots
// whose coordinates the instrument stored, and the targets read in both faces.
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
  bool FaceTwo = false;    // read in face II, and turned to face I before reducing
  bool HasStored = false;  // an SC shot: the residuals below are set
  double ResidualNorth = 0, ResidualEast = 0, ResidualElevation = 0;  // stored minus computed
};

struct SkippedShot {
  std::size_t Record = 0;
  ShotSkip Why = ShotSkip::NoDistance;
};

// A BS record at a station set-up, and what it made of the station's orientation.
struct Orientation {
  std::size_t Record = 0;
  std::size_t Station = 0;
  bool FaceTwo = false;
  bool Oriented = false;         // false: no usable backsight coordinates, the station is unoriented
  double AngleRead = 0;          // the horizontal reading as recorded, degrees
  double BacksightBearing = 0;   // station to backsight point, 0..360 degrees (when Oriented)
  double Correction = 0;         // that bearing minus the reading in face I, 0..360 degrees
  bool Measured = false;         // oriented, and a slope distance was read to the backsight
  double MeasuredDistance = 0;   // horizontal, with K and the grid scale, metres
  double ComputedDistance = 0;   // between the station's and the backsight's coordinates
};

// One target read from one set-up in face I and in face II: two BS records, or two reduced
// shots of the same name and target height.
struct FacePair {
  std::size_t FaceOne = 0, FaceTwo = 0;  // record indexes
  std::size_t Station = 0;
  bool Backsight = false;
  double Collimation = 0;  // half of horizontal reading I minus reading II turned by 180, degrees
  double Index = 0;        // half of zenith I plus zenith II minus 360, degrees
  bool HasDistance = false;
  double DistanceDifference = 0;  // slope distance face I minus face II, metres
  bool HasMean = false;    // shots: the mean of the two faces, reduced
  PointRecord Mean;        // named and coded as the earlier of the two
};

struct ShotReduction {
  std::vector<ReducedShot> Shots;     // in list order
  std::vector<SkippedShot> Skipped;   // in list order
  std::vector<Orientation> Orientations;  // every BS at a station, in list order
  std::vector<FacePair> Pairs;        // in the order of the later record of each pair
  std::size_t CountSkipped(ShotSkip why) const;
};

// Walks the records in list order. A STA starts a station, unoriented. Face II readings (a
// zenith above 180) are turned to face I first. Each BS at a station orients the face it
// was read in (bearing to its backsight point minus the horizontal angle measured to it),
// or clears the orientation when the BS has no backsight coordinates; a BS read in the
// other face to the same point right after keeps the first face's orientation, so each
// face is oriented by its own reading. A shot takes the orientation of its face, else of
// the other. SD shots and SC shots with an observation are reduced with the K and grid
// scale of the settings (as the GTS-7 export with horizontal distances does); SA shots and
// shots of no oriented station are skipped. A shot pairs with an earlier unpaired shot of
// the other face at the same set-up with the same name and target height; the pair's mean
// direction, zenith and slope distance are reduced.
ShotReduction ReduceShots(const std::vector<MeasureRecord>& records, const Settings& settings);

// The job's points for the coordinate outputs, in list order: the extracted points, plus,
// when settings.ComputeShots is on, one point per reduced shot the instrument stored no
// coordinates for. A target read in both faces gives one point, the mean, at the earlier
// of its two records, and none when either has the instrument's coordinates. With the
// option off exactly the plain extraction.
std::vector<PointRecord> JobPoints(const std::vector<MeasureRecord>& records, const Settings& settings);
// JobPoints appended to PointList: what the Coord button and the coordinate exports use.
void ExtractJobPoints(WorkingData& data, const Settings& settings);

}  // namespace theolink
