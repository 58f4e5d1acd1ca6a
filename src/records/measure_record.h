#pragma once
// The measurement, point and code records. Angles are decimal degrees, lengths metres.
#include <cstdint>
#include <type_traits>

#include "records/fixed_text.h"

namespace theolink {

enum RecordKind : std::int32_t {
  KindStation = 1,     // STA
  KindBacksight = 2,   // BS
  KindBearing = 3,     // BKB
  KindAngleShot = 4,   // SA
  KindSlopeShot = 5,   // SD
  KindCoordShot = 6,   // SC
  KindNote = 7,        // NOTE
};

struct StationBody {
  NameText Name, Code;
  double InstrumentHeight, X, Y, Z;  // X east, Y north, in the order of the XYZ line
};

struct BacksightBody {
  NameText Name;
  double TargetHeight, HorizontalAngle, VerticalAngle, SlopeDistance;
  std::int32_t HasBacksightPoint;  // 0 or 1
  double BacksightNorth, BacksightEast, BacksightElevation;
};

struct BearingBody {
  NameText Name;
  double FirstAngle, SecondAngle;
};

struct AngleShotBody {
  NameText Name, Code;
  double TargetHeight, HorizontalAngle, VerticalAngle;
};

struct SlopeShotBody {
  NameText Name, Code;
  double TargetHeight, HorizontalAngle, VerticalAngle, SlopeDistance;
};

struct CoordShotBody {
  NameText Name, Code;
  double TargetHeight, North, East, Elevation;
  std::int32_t HasObservation;  // 0 or 1: the three values below are present
  double HorizontalAngle, VerticalAngle, SlopeDistance;
};

struct NoteBody {
  NoteText Text;
};

// A kind and one body selected by it; a plain value, copied whole. Only the body that
// matches Kind is meaningful.
struct MeasureRecord {
  std::int32_t Kind = 0;
  union {
    StationBody Station;
    BacksightBody Backsight;
    BearingBody Bearing;
    AngleShotBody AngleShot;
    SlopeShotBody SlopeShot;
    CoordShotBody CoordShot;
    NoteBody Note;
  };
  MeasureRecord() : Note() {}
};
static_assert(std::is_trivially_copyable_v<MeasureRecord>);

struct PointRecord {
  NameText Name, Code;
  double North = 0, East = 0, Elevation = 0;
  bool Station = false;  // a job's station set-up, for a drawing that marks stations apart
};

struct CodeEntry {
  NameText Code;
};

}  // namespace theolink
