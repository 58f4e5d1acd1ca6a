// GeoJSON's longitudes and latitudes, read back and transformed back with PROJ, give the
// source coordinates; the grid unit of a system in feet is honoured.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "files/geo_transform.h"
#include "files/geojson_writer.h"
#include "test_support.h"

namespace theolink {
namespace {

// The longitude and latitude of a feature line: "coordinates":[lon,lat,h].
LonLat Coordinates(const std::string& line) {
  const std::size_t at = line.find("\"coordinates\":[");
  EXPECT_NE(at, std::string::npos) << line;
  LonLat p;
  std::size_t used = 0;
  const std::string rest = line.substr(at + 15);
  p.Lon = std::stod(rest, &used);
  p.Lat = std::stod(rest.substr(used + 1));
  return p;
}

struct RoundTrip {
  const char* Crs;
  double North, East;
};

TEST(Wgs84RoundTrip, GeoJsonLongitudeLatitudeGiveTheSourceWithinAMillimetre) {
  const RoundTrip cases[] = {
      {"EPSG:4547", 3380123.4567, 523456.7891},   // CGCS2000 3-degree Gauss-Kruger, axes north first
      {"EPSG:4547", 4100000.0, 380000.0},          // far from the central meridian
      {"EPSG:4499", 3380123.4567, 20523456.7891},  // 6-degree zone 20 with the zone in the easting
      {"EPSG:32650", 4423456.1234, 448765.4321},   // UTM 50N
      {"EPSG:32750", 7654321.0, 612345.0},         // UTM 50S
      {"EPSG:2383", 3380000.0, 500123.0},          // Xian 1980: a datum shift on the way
      {"EPSG:2229", 500123.4567, 2000123.4567},    // grid in US survey feet
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.Crs);
    Settings settings;
    settings.Crs = c.Crs;
    WorkingData data;
    data.PointList = {test::Point("P1", "C", c.North, c.East, 12.5)};
    LineList lines;
    ASSERT_EQ(WriteGeoJson(data, lines, settings, nullptr), std::nullopt);
    ASSERT_EQ(lines.size(), 3u);
    const auto back = GeoTransform::Open(c.Crs);
    ASSERT_NE(back, nullptr);
    double north = 0, east = 0;
    ASSERT_TRUE(back->FromWgs84(Coordinates(lines[1]), north, east));
    EXPECT_NEAR(north, c.North, 0.001);
    EXPECT_NEAR(east, c.East, 0.001);
  }
}

TEST(Wgs84RoundTrip, KnownOriginsLandOnTheirLongitudeAndLatitude) {
  LonLat p;
  // UTM 50N: the central meridian 117E at the equator.
  ASSERT_TRUE(GeoTransform::Open("EPSG:32650")->ToWgs84(0, 500000, p));
  EXPECT_NEAR(p.Lon, 117, 1e-9);
  EXPECT_NEAR(p.Lat, 0, 1e-9);
  // California zone 5 (US feet): its false origin is 2,000,000 m east and 500,000 m north
  // of 118W 33.5N; metres given are taken as metres, not as feet.
  ASSERT_TRUE(GeoTransform::Open("EPSG:2229")->ToWgs84(500000, 2000000, p));
  EXPECT_NEAR(p.Lon, -118, 1e-6);
  EXPECT_NEAR(p.Lat, 33.5, 1e-6);
}

TEST(Wgs84RoundTrip, SystemsThatWillNotDoAreNamedWhy) {
  EXPECT_EQ(CrsProblem(""), TextId::CrsNotChosen);
  EXPECT_EQ(CrsProblem("+proj=utm +zone=50"), TextId::CrsNotEpsg);
  EXPECT_EQ(CrsProblem("EPSG:4326"), TextId::CrsUnknown);  // geographic, not projected
  EXPECT_EQ(CrsProblem("EPSG:999999"), TextId::CrsUnknown);
  EXPECT_EQ(CrsProblem("EPSG:4547"), std::nullopt);
  Settings settings;
  settings.Crs = "EPSG:4547";
  WorkingData data;
  data.PointList = {test::Point("FAR", "", 1e30, 1e30, 0)};
  LineList lines;
  const auto refused = WriteGeoJson(data, lines, settings, nullptr);
  ASSERT_TRUE(refused.has_value());
  EXPECT_EQ(refused->Id, TextId::CrsOutside);
  EXPECT_EQ(refused->Value, "FAR");
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace theolink
