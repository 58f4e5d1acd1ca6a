#pragma once
// Grid coordinates of a projected coordinate system to WGS 84 longitude and latitude and
// back, through PROJ. A system is named "EPSG:NNNN"; nothing else is taken, so no text of a
// file or an option can make PROJ read files or reach the network.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/text_id.h"

namespace theolink {

struct LonLat {
  double Lon = 0, Lat = 0;  // degrees
};

// True for "EPSG:" and one to six digits: the only form a system is named in.
bool IsEpsgCode(std::string_view crs);
// Why a text names no system the exports can use; nothing when it does.
std::optional<TextId> CrsProblem(std::string_view crs);

// One transform; its own PROJ context, so each thread opens its own.
class GeoTransform {
 public:
  // The transform from the system to WGS 84; nothing when CrsProblem has one.
  static std::unique_ptr<GeoTransform> Open(std::string_view crs);
  ~GeoTransform();
  GeoTransform(const GeoTransform&) = delete;
  GeoTransform& operator=(const GeoTransform&) = delete;

  // North and east in metres to longitude and latitude; false outside what PROJ transforms.
  bool ToWgs84(double north, double east, LonLat& out) const;
  // And back.
  bool FromWgs84(const LonLat& in, double& north, double& east) const;

 private:
  struct Handles;
  explicit GeoTransform(std::unique_ptr<Handles> handles);
  std::unique_ptr<Handles> handles_;
};

struct ProjectedSystem {
  std::string Code;  // "EPSG:4547"
  std::string Name;  // "CGCS2000 / 3-degree Gauss-Kruger CM 114E"
};

// Every projected system of the EPSG register that is not deprecated, in code order; empty
// when PROJ's database cannot be read.
std::vector<ProjectedSystem> ProjectedSystems();

}  // namespace theolink
