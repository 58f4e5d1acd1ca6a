// The metre form, the bearing and the directions that the readers and reductions rely on.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "records/bearing.h"
#include "records/binary_lines.h"
#include "records/face_reading.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

// "%.4f" takes an integer route for ordinary values; it must agree with to_chars, which
// rounds the exact binary value, everywhere.
TEST(BinaryValues, FourDecimalsMatchToChars) {
  std::vector<double> values{0.0,      -0.0,       1.03125,    -1.03125,   0.00005,   0.00015, 2.5e-5,
                             1.00005,  0.99995,    123.45675,  -0.00001,   1e-300,    -1e-320, 99999999999999.98,
                             1e14,     -1e14,      1e15,       9.99999e13, 4.5e15,    1e308,   -1.7976931348623157e308,
                             0.1,      1234.56785, 3000000.1234, 0.00004999999999999999};
  for (int k = 1; k < 200; ++k) values.push_back(k / 32768.0);  // exact halves of the last digit
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> metres(-5e6, 5e6);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(metres(random));
    values.push_back(std::bit_cast<double>(random()));  // any bit pattern, NaN and infinity included
  }
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    char reference[400];
    const auto r = std::to_chars(reference, reference + sizeof reference, v, std::chars_format::fixed, 4);
    ASSERT_EQ(r.ec, std::errc());
    ASSERT_EQ(MetreText(v), std::string(reference, r.ptr)) << std::hexfloat << v;
  }
}

TEST(Bearing, ClockwiseFromNorthInAllQuadrants) {
  double b = -1;
  ASSERT_EQ(BearingBetween(0, 0, 0, 100, b), 0);
  EXPECT_DOUBLE_EQ(b, 90);
  ASSERT_EQ(BearingBetween(0, 0, -1, -1, b), 0);
  EXPECT_DOUBLE_EQ(b, 225);
  ASSERT_EQ(BearingBetween(10, 10, 20, 10, b), 0);
  EXPECT_DOUBLE_EQ(b, 0);
  ASSERT_EQ(BearingBetween(10, 10, 0, 10, b), 0);
  EXPECT_DOUBLE_EQ(b, 180);
  ASSERT_EQ(BearingBetween(0, 0, 1, -1, b), 0);
  EXPECT_DOUBLE_EQ(b, 315);
  ASSERT_EQ(BearingBetween(0, 0, -std::sqrt(3.0), 1, b), 0);
  EXPECT_NEAR(b, 150, 1e-12);
}

TEST(Bearing, CoincidentPointsHaveNone) {
  double b = 42;
  EXPECT_EQ(BearingBetween(5, 7, 5, 7, b), -1);
  EXPECT_EQ(b, 42);
  EXPECT_EQ(BearingBetween(0.0, 0.0, -0.0, -0.0, b), -1);
  EXPECT_EQ(BearingBetween(5, 7, 5, 7.000001, b), 0);
}

// A difference of directions is "to minus from" the short way round: its sign says which
// way to turn, which the face differences and the mean of two faces depend on.
TEST(Bearing, DirectionDifferencesTakeTheShortTurnWithItsSign) {
  struct Row { double to, from, difference; };
  for (const Row& r : {Row{10, 350, 20}, Row{350, 10, -20}, Row{30.005, 29.995, 0.01}, Row{29.995, 30.005, -0.01},
                       Row{190, 10, 180}, Row{10, 190, 180}, Row{0, 0, 0}, Row{720.5, -0.5, 1}}) {
    EXPECT_NEAR(DirectionDifference(r.to, r.from), r.difference, 1e-9) << r.to << " " << r.from;
  }
  EXPECT_EQ(NormalDirection(-1e-17), 0.0);  // not 360
  EXPECT_EQ(NormalDirection(-90), 270.0);
  EXPECT_EQ(NormalDirection(360), 0.0);
}

// Only a zenith reading above 180 degrees is face II; it is turned by half a circle in both
// angles, and the horizontal reading stays within 0 up to 360.
TEST(FaceReadings, AZenithAboveHalfACircleIsFaceTwoAndTurnedToFaceOne) {
  struct Row { double hz, zenith, hzOne, zenithOne; bool two; };
  for (const Row& r : {Row{30, 90, 30, 90, false}, Row{30, 180, 30, 180, false}, Row{210, 270, 30, 90, true},
                       Row{30, 260, 210, 100, true}, Row{180, 359.5, 0, 0.5, true}, Row{0, 180.001, 180, 179.999, true},
                       Row{359, 300, 179, 60, true}}) {
    const FaceReading f = InFaceOne(r.hz, r.zenith);
    EXPECT_EQ(f.FaceTwo, r.two) << r.hz << " " << r.zenith;
    EXPECT_NEAR(f.Horizontal, r.hzOne, 1e-9) << r.hz << " " << r.zenith;
    EXPECT_NEAR(f.Zenith, r.zenithOne, 1e-9) << r.hz << " " << r.zenith;
  }
}

}  // namespace
}  // namespace theolink
