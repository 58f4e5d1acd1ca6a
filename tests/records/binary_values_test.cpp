// The metre form and the bearing that the readers rely on.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "records/bearing.h"
#include "records/binary_lines.h"
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

}  // namespace
}  // namespace theolink
