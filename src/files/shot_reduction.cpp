#include "files/shot_reduction.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <unordered_map>

#include "files/line_loaders.h"
#include "files/slope_reduction.h"
#include "records/bearing.h"
#include "records/face_reading.h"

namespace theolink {
namespace {

struct Observation {
  NameText Name, Code;
  double TargetHeight, HorizontalAngle, VerticalAngle, SlopeDistance;
};

// A reduced shot as the pairing needs it: its readings in face I and its oriented direction.
struct Reading {
  std::size_t Shot;  // index in ShotReduction::Shots
  double TargetHeight, Horizontal, Direction, Zenith, SlopeDistance;
};

class Station {
 public:
  Station(std::size_t record, const StationBody& b)
      : record_(record), north_(b.Y), east_(b.X), elevation_(b.Z), instrumentHeight_(b.InstrumentHeight) {}

  std::size_t Record() const { return record_; }

  // The orientation a shot of the face takes: its own face's, else the other's.
  std::optional<double> OrientationFor(bool faceTwo) const {
    return orientation_[faceTwo ? 1 : 0] ? orientation_[faceTwo ? 1 : 0] : orientation_[faceTwo ? 0 : 1];
  }

  Orientation Orient(std::size_t record, const BacksightBody& b, double k, double scale) {
    const FaceReading read = InFaceOne(b.HorizontalAngle, b.VerticalAngle);
    Orientation o;
    o.Record = record;
    o.Station = record_;
    o.FaceTwo = read.FaceTwo;
    o.AngleRead = b.HorizontalAngle;
    double bearing = 0;
    o.Oriented = b.HasBacksightPoint != 0 &&
                 BearingBetween(north_, east_, b.BacksightNorth, b.BacksightEast, bearing) == 0 &&
                 std::isfinite(bearing) && std::isfinite(read.Horizontal);
    const int face = read.FaceTwo ? 1 : 0;
    if (o.Oriented) {
      // The same point read in the other face just before: both faces stay oriented, each
      // by its own reading, so collimation cancels face by face.
      const bool otherFace = last_ && last_->FaceTwo != read.FaceTwo && last_->Oriented &&
                             SameBacksight(*lastBody_, b);
      if (!otherFace) orientation_[1 - face].reset();
      orientation_[face] = bearing - read.Horizontal;
      o.BacksightBearing = bearing;
      o.Correction = NormalDirection(bearing - read.Horizontal);
      if (std::isfinite(b.SlopeDistance) && b.SlopeDistance > 0) {
        o.Measured = true;
        o.MeasuredDistance = ReduceSlope(b.SlopeDistance, read.Zenith, k, scale).Horizontal;
        o.ComputedDistance = std::hypot(b.BacksightNorth - north_, b.BacksightEast - east_);
      }
    } else {
      orientation_[0].reset();
      orientation_[1].reset();
    }
    return o;
  }

  // The backsight read in the other face just before, to the same point name, if any not
  // yet paired.
  std::optional<FacePair> BacksightPair(const Orientation& o, const BacksightBody& b) const {
    if (!last_ || lastPaired_ || last_->FaceTwo == o.FaceTwo || !(lastBody_->Name == b.Name)) return std::nullopt;
    const BacksightBody& one = o.FaceTwo ? *lastBody_ : b;
    const BacksightBody& two = o.FaceTwo ? b : *lastBody_;
    const FaceReading r1 = InFaceOne(one.HorizontalAngle, one.VerticalAngle);
    const FaceReading r2 = InFaceOne(two.HorizontalAngle, two.VerticalAngle);
    FacePair pair;
    pair.FaceOne = o.FaceTwo ? last_->Record : o.Record;
    pair.FaceTwo = o.FaceTwo ? o.Record : last_->Record;
    pair.Station = record_;
    pair.Backsight = true;
    // Both read on one circle setting: the readings themselves show the collimation.
    pair.Collimation = DirectionDifference(r1.Horizontal, r2.Horizontal) / 2;
    pair.Index = (r1.Zenith - r2.Zenith) / 2;
    pair.HasDistance = one.SlopeDistance > 0 && two.SlopeDistance > 0;
    if (pair.HasDistance) pair.DistanceDifference = one.SlopeDistance - two.SlopeDistance;
    return pair;
  }

  void Remember(const Orientation& o, const BacksightBody& b, bool paired) {
    last_ = o;
    lastBody_ = &b;
    lastPaired_ = paired;
  }

  // The instrument height and target height are part of the height difference; the grid
  // scale and K enter only through the shared slope reduction.
  PointRecord Reduce(const NameText& name, const NameText& code, double direction, double zenith, double slope,
                     double targetHeight, double k, double scale) const {
    const ReducedSlope reduced = ReduceSlope(slope, zenith, k, scale);
    const double bearing = direction * std::numbers::pi / 180.0;
    PointRecord point;
    point.Name = name;
    point.Code = code;
    point.North = north_ + reduced.Horizontal * std::cos(bearing);
    point.East = east_ + reduced.Horizontal * std::sin(bearing);
    point.Elevation = elevation_ + instrumentHeight_ + reduced.Height - targetHeight;
    return point;
  }

  // Unpaired readings by face and name, for the shots still to come at this set-up.
  std::unordered_map<std::string, std::vector<Reading>>& Unpaired(bool faceTwo) { return unpaired_[faceTwo ? 1 : 0]; }

 private:
  static bool SameBacksight(const BacksightBody& a, const BacksightBody& b) {
    return a.Name == b.Name && a.BacksightNorth == b.BacksightNorth && a.BacksightEast == b.BacksightEast;
  }

  std::size_t record_;
  double north_, east_, elevation_, instrumentHeight_;
  std::optional<double> orientation_[2];  // bearing of horizontal reading 0, per face
  std::optional<Orientation> last_;       // the latest BS at this set-up
  const BacksightBody* lastBody_ = nullptr;
  bool lastPaired_ = false;
  std::unordered_map<std::string, std::vector<Reading>> unpaired_[2];
};

// Pairs the reading with an earlier one of the other face, when there is one, and gives
// the pair with its differences and its reduced mean.
std::optional<FacePair> PairShot(Station& station, const std::vector<ReducedShot>& shots, const Reading& reading,
                                 bool faceTwo, double k, double scale) {
  const ReducedShot& shot = shots[reading.Shot];
  const std::string name = shot.Point.Name.Str();
  auto& others = station.Unpaired(!faceTwo)[name];
  for (auto other = others.begin(); other != others.end(); ++other) {
    if (other->TargetHeight != reading.TargetHeight) continue;
    const Reading earlier = *other;
    others.erase(other);
    const Reading& one = faceTwo ? earlier : reading;
    const Reading& two = faceTwo ? reading : earlier;
    FacePair pair;
    pair.FaceOne = shots[one.Shot].Record;
    pair.FaceTwo = shots[two.Shot].Record;
    pair.Station = station.Record();
    // The readings show the collimation; each face's own orientation may already have
    // taken it out of the directions.
    pair.Collimation = DirectionDifference(one.Horizontal, two.Horizontal) / 2;
    const double turn = DirectionDifference(one.Direction, two.Direction);
    pair.Index = (one.Zenith - two.Zenith) / 2;
    pair.HasDistance = true;
    pair.DistanceDifference = one.SlopeDistance - two.SlopeDistance;
    pair.HasMean = true;
    const PointRecord& first = shots[earlier.Shot].Point;
    pair.Mean = station.Reduce(first.Name, first.Code, two.Direction + turn / 2, (one.Zenith + two.Zenith) / 2,
                               (one.SlopeDistance + two.SlopeDistance) / 2, reading.TargetHeight, k, scale);
    return pair;
  }
  station.Unpaired(faceTwo)[name].push_back(reading);
  return std::nullopt;
}

}  // namespace

std::size_t ShotReduction::CountSkipped(ShotSkip why) const {
  std::size_t count = 0;
  for (const SkippedShot& skipped : Skipped) count += skipped.Why == why ? 1 : 0;
  return count;
}

ShotReduction ReduceShots(const std::vector<MeasureRecord>& records, const Settings& settings) {
  const double k = KValue(settings);
  const double scale = GridScaleValue(settings);
  ShotReduction result;
  std::optional<Station> station;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const MeasureRecord& record = records[i];
    Observation shot{};
    const CoordShotBody* stored = nullptr;
    switch (record.Kind) {
      case KindStation:
        station.emplace(i, record.Station);
        continue;
      case KindBacksight:
        if (station) {
          const Orientation o = station->Orient(i, record.Backsight, k, scale);
          const std::optional<FacePair> pair = station->BacksightPair(o, record.Backsight);
          if (pair) result.Pairs.push_back(*pair);
          station->Remember(o, record.Backsight, pair.has_value());
          result.Orientations.push_back(o);
        }
        continue;
      case KindAngleShot:
        result.Skipped.push_back({i, ShotSkip::NoDistance});
        continue;
      case KindSlopeShot: {
        const SlopeShotBody& b = record.SlopeShot;
        shot = {b.Name, b.Code, b.TargetHeight, b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance};
        break;
      }
      case KindCoordShot: {
        const CoordShotBody& b = record.CoordShot;
        if (b.HasObservation == 0) continue;
        shot = {b.Name, b.Code, b.TargetHeight, b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance};
        stored = &b;
        break;
      }
      default:
        continue;
    }
    // A zero distance is an angle-only shot stored as SD; it would land on the station.
    if (!(std::isfinite(shot.SlopeDistance) && shot.SlopeDistance > 0)) {
      result.Skipped.push_back({i, ShotSkip::NoDistance});
      continue;
    }
    const FaceReading read = InFaceOne(shot.HorizontalAngle, shot.VerticalAngle);
    const std::optional<double> orientation = station ? station->OrientationFor(read.FaceTwo) : std::nullopt;
    if (!orientation) {
      result.Skipped.push_back({i, station ? ShotSkip::NoOrientation : ShotSkip::NoStation});
      continue;
    }
    const double direction = *orientation + read.Horizontal;
    ReducedShot reduced;
    reduced.Record = i;
    reduced.Station = station->Record();
    reduced.FaceTwo = read.FaceTwo;
    reduced.Point = station->Reduce(shot.Name, shot.Code, direction, read.Zenith, shot.SlopeDistance,
                                    shot.TargetHeight, k, scale);
    if (stored != nullptr) {
      reduced.HasStored = true;
      reduced.ResidualNorth = stored->North - reduced.Point.North;
      reduced.ResidualEast = stored->East - reduced.Point.East;
      reduced.ResidualElevation = stored->Elevation - reduced.Point.Elevation;
    }
    result.Shots.push_back(reduced);
    const Reading reading{result.Shots.size() - 1, shot.TargetHeight, read.Horizontal, direction, read.Zenith,
                          shot.SlopeDistance};
    if (auto pair = PairShot(*station, result.Shots, reading, read.FaceTwo, k, scale))
      result.Pairs.push_back(*pair);
  }
  return result;
}

std::vector<PointRecord> JobPoints(const std::vector<MeasureRecord>& records, const Settings& settings) {
  std::vector<PointRecord> points;
  if (!settings.ComputeShots) {
    ExtractCoordPoints(records, points);
    return points;
  }
  const ShotReduction reduction = ReduceShots(records, settings);
  // A target read in both faces: its mean at the earlier record, nothing at the later.
  std::unordered_map<std::size_t, const FacePair*> pairAt;
  for (const FacePair& pair : reduction.Pairs) {
    if (!pair.HasMean) continue;
    pairAt[pair.FaceOne] = &pair;
    pairAt[pair.FaceTwo] = &pair;
  }
  auto shot = reduction.Shots.begin();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const bool reduced = shot != reduction.Shots.end() && shot->Record == i;
    if (const auto point = ExtractedPoint(records[i])) {
      // The instrument's own coordinates win over the computed ones.
      points.push_back(*point);
    } else if (reduced) {
      const auto paired = pairAt.find(i);
      if (paired == pairAt.end()) {
        points.push_back(shot->Point);
      } else {
        const FacePair& pair = *paired->second;
        const std::size_t other = pair.FaceOne == i ? pair.FaceTwo : pair.FaceOne;
        // The target already has the instrument's coordinates when the other is an SC.
        if (i < other && !ExtractedPoint(records[other])) points.push_back(pair.Mean);
      }
    }
    if (reduced) ++shot;
  }
  return points;
}

void ExtractJobPoints(WorkingData& data, const Settings& settings) {
  if (!settings.ComputeShots) {
    ExtractCoordPoints(data);
    return;
  }
  const std::vector<PointRecord> points = JobPoints(data.MeasurementList, settings);
  data.PointList.insert(data.PointList.end(), points.begin(), points.end());
}

}  // namespace theolink
