// A build without PROJ (the Windows cross-build: Debian has no PROJ for MinGW) has no EPSG
// register: every system is unknown to it, as when PROJ's database cannot be read.
#include "files/geo_transform.h"

namespace theolink {

struct GeoTransform::Handles {};

std::optional<TextId> CrsProblem(std::string_view crs) {
  if (crs.empty()) return TextId::CrsNotChosen;
  if (!IsEpsgCode(crs)) return TextId::CrsNotEpsg;
  return TextId::CrsUnknown;
}

std::unique_ptr<GeoTransform> GeoTransform::Open(std::string_view) { return nullptr; }

GeoTransform::GeoTransform(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
GeoTransform::~GeoTransform() = default;

bool GeoTransform::ToWgs84(double, double, LonLat&) const { return false; }
bool GeoTransform::FromWgs84(const LonLat&, double&, double&) const { return false; }

std::vector<ProjectedSystem> ProjectedSystems() { return {}; }

}  // namespace theolink
