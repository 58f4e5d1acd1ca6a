// Polar reduction of shots, and the station check built on it. Expected values are worked out by hand from the formulas:
// horizontal h = s sin z - (2 - K)/(2R) s cos z s sin z (times the grid scale), height
// v = s cos z + (1 - K)/(2R) (s sin z)^2 with R = 6370000 m; a level 100 m sight gives
// v = 10000 / 12740000 = 0.000785 m.
#include "files/shot_reduction.h"
#include "files/station_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "records/value_forms.h"
#include "test_support.h"

namespace theolink {
namespace {

MeasureRecord Station(const char* name, double north, double east, double elevation, double height) {
  MeasureRecord r = test::Station(name, "", east, north, elevation);
  r.Station.InstrumentHeight = height;
  return r;
}

MeasureRecord Backsight(const char* name, double hz, bool known, double north, double east) {
  MeasureRecord r = test::Backsight(name, hz, 90, 100);
  r.Backsight.HasBacksightPoint = known ? 1 : 0;
  r.Backsight.BacksightNorth = north;
  r.Backsight.BacksightEast = east;
  return r;
}

MeasureRecord Shot(const char* name, double hz, double zenith, double slope, double target) {
  MeasureRecord r = test::SlopeShot(name, "C", hz, zenith, slope);
  r.SlopeShot.TargetHeight = target;
  return r;
}

MeasureRecord ObservedCoordShot(const char* name, double hz, double zenith, double slope, double n, double e,
                                double z) {
  MeasureRecord r = test::CoordShot(name, "", n, e, z);
  r.CoordShot.HasObservation = 1;
  r.CoordShot.HorizontalAngle = hz;
  r.CoordShot.VerticalAngle = zenith;
  r.CoordShot.SlopeDistance = slope;
  return r;
}

struct PolarCase {
  const char* What;
  const char* Horizontal;
  int HorizontalForm;
  const char* Zenith;
  int ZenithForm;
  double Slope;
  const char* K;
  const char* GridScale;
  double North, East, Elevation;
};

// Station N 1000, E 2000, Z 100, instrument height 1.5; backsight due north read at 0;
// target height 1.3.
const PolarCase kPolarCases[] = {
    {"north", "0", AngleDms, "90", AngleDms, 100, "0.00", "1.00", 1100, 2000, 100.200785},
    {"east", "90", AngleDms, "90", AngleDms, 100, "0.00", "1.00", 1000, 2100, 100.200785},
    {"south", "180", AngleDms, "90", AngleDms, 100, "0.00", "1.00", 900, 2000, 100.200785},
    {"west", "270", AngleDms, "90", AngleDms, 100, "0.00", "1.00", 1000, 1900, 100.200785},
    // p = 86.602540, q = +-50, curvature-refraction shift 50 p / 6370000 = 0.000680
    {"zenith below 90", "0", AngleDms, "60", AngleDms, 100, "0.00", "1.00", 1086.601861, 2000, 150.200589},
    {"zenith above 90", "90", AngleDms, "120", AngleDms, 100, "0.00", "1.00", 1000, 2086.603220, 50.200589},
    {"gon input", "100.0000", AngleGon, "100.0000", AngleGon, 100, "0.00", "1.00", 1000, 2100, 100.200785},
    {"mil input", "3200.0000", AngleMil, "1600.0000", AngleMil, 100, "0.00", "1.00", 900, 2000, 100.200785},
    // v = 0.86 * 2000^2 / 12740000 = 0.270016
    {"K 0.14 over 2 km", "0", AngleDms, "90", AngleDms, 2000, "0.14", "1.00", 3000, 2000, 100.470016},
    {"grid scale 0.95 on the distance only", "90", AngleDms, "90", AngleDms, 100, "0.00", "0.95", 1000, 2095,
     100.200785},
    {"grid scale with six decimals", "90", AngleDms, "90", AngleDms, 100, "0.00", "1.000123", 1000, 2100.0123,
     100.200785},
};

TEST(ShotReduction, PolarShotsFromAStationAtKnownCoordinates) {
  for (const PolarCase& c : kPolarCases) {
    SCOPED_TRACE(c.What);
    Settings settings;
    settings.KOption = c.K;
    settings.GridScale = c.GridScale;
    const std::vector<MeasureRecord> job = {
        Station("S1", 1000, 2000, 100, 1.5), Backsight("B", 0, true, 1100, 2000),
        Shot("P", ParseAngle(c.Horizontal, c.HorizontalForm), ParseAngle(c.Zenith, c.ZenithForm), c.Slope, 1.3)};
    const ShotReduction reduction = ReduceShots(job, settings);
    ASSERT_EQ(reduction.Shots.size(), 1u);
    EXPECT_TRUE(reduction.Skipped.empty());
    const PointRecord& p = reduction.Shots[0].Point;
    EXPECT_EQ(p.Name.View(), "P");
    EXPECT_EQ(p.Code.View(), "C");
    EXPECT_NEAR(p.North, c.North, 1e-6);
    EXPECT_NEAR(p.East, c.East, 1e-6);
    EXPECT_NEAR(p.Elevation, c.Elevation, 1e-6);
  }
}

// Two stations, one of them first without backsight coordinates, shots that cannot be
// reduced for each reason, and an SC shot whose stored coordinates are off by a known amount.
std::vector<MeasureRecord> TwoStationJob() {
  MeasureRecord plainSc = test::CoordShot("K", "", 1, 2, 3);
  MeasureRecord angleOnly;
  angleOnly.Kind = KindAngleShot;
  angleOnly.AngleShot = AngleShotBody{test::N("M"), {}, 1.3, 10, 90};
  return {
      Shot("X0", 0, 90, 10, 1.3),                    // 0 before any station
      Station("S1", 1000, 2000, 100, 1.5),           // 1
      Backsight("B1", 0, true, 1100, 2000),          // 2 due north, read at 0
      Shot("A1", 90, 90, 100, 1.3),                  // 3 -> N 1000, E 2100
      Station("S2", 500, 500, 10, 1.6),              // 4 a new set-up is unoriented
      Shot("U1", 0, 90, 10, 1.3),                    // 5
      Backsight("B2", 0, false, 0, 0),               // 6 no coordinates: still unoriented
      Shot("U2", 0, 90, 10, 1.3),                    // 7
      Backsight("B3", 30, true, 600, 500),           // 8 due north, read at 30
      Shot("A2", 30, 90, 50, 1.3),                   // 9 -> N 550, E 500
      angleOnly,                                     // 10
      // -> N 500, E 550, Z 10 + 1.6 - 1.3 + 2500 / 12740000 = 10.300196
      ObservedCoordShot("C", 120, 90, 50, 500.01, 549.98, 10.3032),  // 11
      Shot("Z0", 0, 90, 0, 1.3),                     // 12 zero distance
      plainSc,                                       // 13 nothing to reduce
  };
}

TEST(ShotReduction, StationsOrientationsAndReasonsInListOrder) {
  const ShotReduction r = ReduceShots(TwoStationJob(), Settings{});
  ASSERT_EQ(r.Shots.size(), 3u);
  EXPECT_EQ(r.Shots[0].Record, 3u);
  EXPECT_EQ(r.Shots[0].Station, 1u);
  EXPECT_NEAR(r.Shots[0].Point.North, 1000, 1e-6);
  EXPECT_NEAR(r.Shots[0].Point.East, 2100, 1e-6);
  EXPECT_FALSE(r.Shots[0].HasStored);
  EXPECT_EQ(r.Shots[1].Record, 9u);
  EXPECT_EQ(r.Shots[1].Station, 4u);
  EXPECT_NEAR(r.Shots[1].Point.North, 550, 1e-6);
  EXPECT_NEAR(r.Shots[1].Point.East, 500, 1e-6);
  EXPECT_NEAR(r.Shots[1].Point.Elevation, 10 + 1.6 - 1.3 + 2500 / 12740000.0, 1e-6);
  const ReducedShot& c = r.Shots[2];
  EXPECT_EQ(c.Record, 11u);
  EXPECT_TRUE(c.HasStored);
  EXPECT_NEAR(c.ResidualNorth, 0.01, 1e-6);
  EXPECT_NEAR(c.ResidualEast, -0.02, 1e-6);
  EXPECT_NEAR(c.ResidualElevation, 0.003004, 1e-6);

  const std::vector<std::pair<std::size_t, ShotSkip>> skipped = {
      {0, ShotSkip::NoStation},  {5, ShotSkip::NoOrientation}, {7, ShotSkip::NoOrientation},
      {10, ShotSkip::NoDistance}, {12, ShotSkip::NoDistance}};
  ASSERT_EQ(r.Skipped.size(), skipped.size());
  for (std::size_t i = 0; i < skipped.size(); ++i) {
    EXPECT_EQ(r.Skipped[i].Record, skipped[i].first) << i;
    EXPECT_EQ(r.Skipped[i].Why, skipped[i].second) << i;
  }
  EXPECT_EQ(r.CountSkipped(ShotSkip::NoOrientation), 2u);
}

TEST(ShotReduction, JobPointsAddReducedShotsOnlyWhenAskedAndKeepStoredCoordinates) {
  const std::vector<MeasureRecord> job = TwoStationJob();
  auto names = [](const std::vector<PointRecord>& points) {
    std::string text;
    for (const PointRecord& p : points) text += p.Name.Str() + " ";
    return text;
  };
  Settings settings;
  const std::vector<PointRecord> plain = JobPoints(job, settings);
  EXPECT_EQ(names(plain), "S1 B1 S2 B3 C K ");
  settings.ComputeShots = true;
  const std::vector<PointRecord> all = JobPoints(job, settings);
  EXPECT_EQ(names(all), "S1 B1 A1 S2 B3 A2 C K ");
  EXPECT_EQ(all[6].North, 500.01);  // the instrument's coordinates, not the computed ones
  EXPECT_EQ(all[6].East, 549.98);
}

// Both faces. Station N 1000, E 2000, Z 100, instrument height 1.5; backsight due north,
// its circle reading 30 in face I; target height 1.3. P lies at bearing 120, zenith 80,
// slope 50 (h = 50 sin 80 - 50 cos 80 * 50 sin 80 / 6370000): N 975.379840, E 2042.643368,
// Z 108.882599. Q at bearing 210, zenith 100, slope 40: N 965.885222, E 1980.303823,
// Z 93.254195. Face II reads the horizontal angle plus 180 and the zenith as 360 minus it;
// an instrument with collimation c and index error i reads +c and +i in face I, -c and +i
// in face II.
constexpr double kC = 15.0 / 3600, kI = 10.0 / 3600;

MeasureRecord BacksightRead(double hz, double zenith) {
  MeasureRecord r = Backsight("B", hz, true, 1100, 2000);
  r.Backsight.VerticalAngle = zenith;
  return r;
}

void ExpectAt(const PointRecord& p, double north, double east, double elevation, double within) {
  EXPECT_NEAR(p.North, north, within) << p.Name.Str();
  EXPECT_NEAR(p.East, east, within) << p.Name.Str();
  EXPECT_NEAR(p.Elevation, elevation, within) << p.Name.Str();
}

TEST(ShotReductionFaces, FaceTwoIsTurnedBeforeReducingAndBothFacesGiveOnePoint) {
  const std::vector<MeasureRecord> job = {
      Station("S", 1000, 2000, 100, 1.5), BacksightRead(30, 90),
      Shot("P", 150, 80, 50, 1.3),   // 2 face I
      Shot("Q", 60, 260, 40, 1.3),   // 3 face II only
      Shot("P", 330, 280, 50, 1.3),  // 4 face II
  };
  const ShotReduction r = ReduceShots(job, Settings{});
  ASSERT_EQ(r.Shots.size(), 3u);
  EXPECT_FALSE(r.Shots[0].FaceTwo);
  EXPECT_TRUE(r.Shots[1].FaceTwo);
  ExpectAt(r.Shots[0].Point, 975.379840, 2042.643368, 108.882599, 1e-6);
  ExpectAt(r.Shots[1].Point, 965.885222, 1980.303823, 93.254195, 1e-6);
  ExpectAt(r.Shots[2].Point, 975.379840, 2042.643368, 108.882599, 1e-6);
  ASSERT_EQ(r.Pairs.size(), 1u);
  const FacePair& pair = r.Pairs[0];
  EXPECT_EQ(pair.FaceOne, 2u);
  EXPECT_EQ(pair.FaceTwo, 4u);
  EXPECT_FALSE(pair.Backsight);
  EXPECT_NEAR(pair.Collimation, 0, 1e-9);
  EXPECT_NEAR(pair.Index, 0, 1e-9);
  EXPECT_NEAR(pair.DistanceDifference, 0, 1e-9);
  ExpectAt(pair.Mean, 975.379840, 2042.643368, 108.882599, 1e-6);

  Settings settings;
  settings.ComputeShots = true;
  const std::vector<PointRecord> points = JobPoints(job, settings);
  ASSERT_EQ(points.size(), 4u);  // S, B, the mean of P at its first record, Q
  EXPECT_EQ(points[2].Name.View(), "P");
  EXPECT_EQ(points[3].Name.View(), "Q");
  ExpectAt(points[2], 975.379840, 2042.643368, 108.882599, 1e-6);
}

TEST(ShotReductionFaces, EachFaceIsOrientedByItsOwnBacksightAndTheMeanCancelsTheIndex) {
  const std::vector<MeasureRecord> job = {
      Station("S", 1000, 2000, 100, 1.5),
      BacksightRead(30 + kC, 90 + kI),         // 1
      BacksightRead(210 - kC, 270 + kI),       // 2 the same point in face II
      Shot("P", 150 + kC, 80 + kI, 50.002, 1.3),    // 3
      Shot("P", 330 - kC, 280 + kI, 49.998, 1.3),   // 4
      Shot("Q", 60 - kC, 260 + kI, 40, 1.3),        // 5 face II only
  };
  const ShotReduction r = ReduceShots(job, Settings{});
  ASSERT_EQ(r.Orientations.size(), 2u);
  EXPECT_FALSE(r.Orientations[0].FaceTwo);
  EXPECT_TRUE(r.Orientations[1].FaceTwo);
  EXPECT_NEAR(r.Orientations[0].Correction, 330 - kC, 1e-9);
  EXPECT_NEAR(r.Orientations[1].Correction, 330 + kC, 1e-9);
  // Collimation taken out face by face: every single face points the true way (the index
  // error still moves distance and height).
  ASSERT_EQ(r.Shots.size(), 3u);
  const auto bearing = [](const PointRecord& p) {
    return std::atan2(p.East - 2000, p.North - 1000) * 180 / std::numbers::pi;
  };
  EXPECT_NEAR(bearing(r.Shots[0].Point), 120, 1e-9);
  EXPECT_NEAR(bearing(r.Shots[1].Point), 120, 1e-9);
  EXPECT_NEAR(bearing(r.Shots[2].Point), 210 - 360, 1e-9);

  ASSERT_EQ(r.Pairs.size(), 2u);
  const FacePair& backsight = r.Pairs[0];
  EXPECT_TRUE(backsight.Backsight);
  EXPECT_EQ(backsight.FaceOne, 1u);
  EXPECT_EQ(backsight.FaceTwo, 2u);
  EXPECT_NEAR(backsight.Collimation * 3600, 15, 1e-6);
  EXPECT_NEAR(backsight.Index * 3600, 10, 1e-6);
  EXPECT_FALSE(backsight.HasMean);
  const FacePair& p = r.Pairs[1];
  EXPECT_NEAR(p.Collimation * 3600, 15, 1e-6);
  EXPECT_NEAR(p.Index * 3600, 10, 1e-6);
  EXPECT_NEAR(p.DistanceDifference, 0.004, 1e-9);
  ExpectAt(p.Mean, 975.379840, 2042.643368, 108.882599, 1e-4);
}

TEST(ShotReductionFaces, PairsNeedTheSameSetUpNameAndTargetHeight) {
  const std::vector<MeasureRecord> job = {
      Station("S", 1000, 2000, 100, 1.5), BacksightRead(30, 90),
      Shot("P", 150, 80, 50, 1.3),  Shot("P", 330, 280, 50, 1.6),  // another target height
      Shot("R", 150, 80, 50, 1.3),  Shot("R", 150, 80, 50, 1.3),   // one face twice
      Station("T", 1000, 2000, 100, 1.5), BacksightRead(30, 90),
      Shot("P", 330, 280, 50, 1.3),                               // another set-up
  };
  EXPECT_TRUE(ReduceShots(job, Settings{}).Pairs.empty());
}

// Station S1 looks due north at B in both faces with a collimation error of 25"; face I
// reads B 0.025 m long. C1 and C2 lie at N 1000, E 2050, Z 100.200196, stored 0.019 m and
// 0.021 m off. S2 has no backsight coordinates.
TEST(StationCheck, EachItemWithItsStationAndAWarningOnlyPastItsLimit) {
  constexpr double kCollimation = 25.0 / 3600;
  MeasureRecord first = BacksightRead(30 + kCollimation, 90);
  first.Backsight.SlopeDistance = 100.025;
  const std::vector<MeasureRecord> records = {
      ObservedCoordShot("X0", 0, 90, 10, 1, 2, 3),  // 0 before any station: in no check
      Station("S1", 1000, 2000, 100, 1.5),           // 1
      first,                                         // 2
      BacksightRead(210 - kCollimation, 270),        // 3
      ObservedCoordShot("C1", 120 + kCollimation, 90, 50, 1000.019, 2050, 100.200196),  // 4
      ObservedCoordShot("C2", 120 + kCollimation, 90, 50, 1000, 2049.979, 100.200196),  // 5
      Station("S2", 500, 500, 10, 1.6),              // 6
      Backsight("B2", 0, false, 0, 0),               // 7
      ObservedCoordShot("U", 0, 90, 10, 1, 2, 3),    // 8
  };

  const std::vector<StationCheck> checks = CheckStations(records, Settings{});
  ASSERT_EQ(checks.size(), 2u);
  const StationCheck& s1 = checks[0];
  EXPECT_EQ(s1.Record, 1u);
  ASSERT_EQ(s1.Orientations.size(), 2u);
  EXPECT_TRUE(s1.Orientations[0].Measured);
  EXPECT_NEAR(s1.Orientations[0].MeasuredDistance - s1.Orientations[0].ComputedDistance, 0.025, 1e-6);
  ASSERT_EQ(s1.Residuals.size(), 2u);
  EXPECT_NEAR(s1.Residuals[0].ResidualNorth, 0.019, 1e-6);
  ASSERT_EQ(s1.Faces.size(), 1u);
  EXPECT_NEAR(s1.Faces[0].Collimation * 3600, 25, 1e-6);
  struct Expected { CheckItem what; std::size_t record; double value; };
  const Expected warnings[] = {{CheckItem::BacksightDistance, 2, 0.025},
                               {CheckItem::Residual, 5, 0.021},
                               {CheckItem::Collimation, 3, kCollimation},
                               {CheckItem::FaceDistance, 3, 0.025}};
  ASSERT_EQ(s1.Warnings.size(), std::size(warnings));
  for (std::size_t i = 0; i < std::size(warnings); ++i) {
    EXPECT_EQ(s1.Warnings[i].What, warnings[i].what) << i;
    EXPECT_EQ(s1.Warnings[i].Record, warnings[i].record) << i;
    EXPECT_NEAR(s1.Warnings[i].Value, warnings[i].value, 1e-6) << i;
  }
  const StationCheck& s2 = checks[1];
  ASSERT_EQ(s2.NotReduced.size(), 1u);
  EXPECT_EQ(s2.NotReduced[0].Record, 8u);
  EXPECT_EQ(s2.NotReduced[0].Why, ShotSkip::NoOrientation);
  EXPECT_TRUE(s2.Warnings.empty());

  // The limits are the settings'.
  Settings loose;
  loose.LengthTolerance = 0.03;
  loose.AngleTolerance = 30;
  for (const StationCheck& check : CheckStations(records, loose)) EXPECT_TRUE(check.Warnings.empty());
  EXPECT_TRUE(CheckStations({Shot("P", 0, 90, 10, 1.3)}, Settings{}).empty());
}

}  // namespace
}  // namespace theolink
