#include "files/geo_transform.h"

#include <proj.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace theolink {
namespace {

struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct PjDeleter {
  void operator()(PJ* pj) const { proj_destroy(pj); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;
using Pj = std::unique_ptr<PJ, PjDeleter>;

// A context that stays quiet and offline: PROJ's own messages would reach the terminal.
Context QuietContext() {
  Context context(proj_context_create());
  if (context) {
    proj_log_level(context.get(), PJ_LOG_NONE);
    proj_context_set_enable_network(context.get(), 0);
  }
  return context;
}

// The system as PROJ knows it, projected and in a linear unit; metresPerUnit is the unit.
Pj OpenProjected(PJ_CONTEXT* context, std::string_view crs, double& metresPerUnit) {
  Pj system(proj_create(context, std::string(crs).c_str()));
  if (!system || proj_get_type(system.get()) != PJ_TYPE_PROJECTED_CRS) return nullptr;
  const Pj axes(proj_crs_get_coordinate_system(context, system.get()));
  double factor = 0;
  if (!axes || proj_cs_get_axis_count(context, axes.get()) < 2 ||
      !proj_cs_get_axis_info(context, axes.get(), 0, nullptr, nullptr, nullptr, &factor, nullptr, nullptr,
                             nullptr) ||
      !(factor > 0))
    return nullptr;
  metresPerUnit = factor;
  return system;
}

}  // namespace

struct GeoTransform::Handles {
  Context context;
  Pj transform;  // east, north (in the system's unit) to longitude, latitude
  double metresPerUnit = 1;
};

std::optional<TextId> CrsProblem(std::string_view crs) {
  if (crs.empty()) return TextId::CrsNotChosen;
  if (!IsEpsgCode(crs)) return TextId::CrsNotEpsg;
  const Context context = QuietContext();
  double unit = 0;
  if (!context || !OpenProjected(context.get(), crs, unit)) return TextId::CrsUnknown;
  return std::nullopt;
}

std::unique_ptr<GeoTransform> GeoTransform::Open(std::string_view crs) {
  if (!IsEpsgCode(crs)) return nullptr;
  auto handles = std::make_unique<Handles>();
  handles->context = QuietContext();
  if (!handles->context || !OpenProjected(handles->context.get(), crs, handles->metresPerUnit)) return nullptr;
  const Pj raw(proj_create_crs_to_crs(handles->context.get(), std::string(crs).c_str(), "EPSG:4326", nullptr));
  if (!raw) return nullptr;
  // Easting first and longitude first, whatever order the register gives the axes.
  handles->transform.reset(proj_normalize_for_visualization(handles->context.get(), raw.get()));
  if (!handles->transform) return nullptr;
  return std::unique_ptr<GeoTransform>(new GeoTransform(std::move(handles)));
}

GeoTransform::GeoTransform(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
GeoTransform::~GeoTransform() = default;

bool GeoTransform::ToWgs84(double north, double east, LonLat& out) const {
  if (!std::isfinite(north) || !std::isfinite(east)) return false;
  const PJ_COORD in = proj_coord(east / handles_->metresPerUnit, north / handles_->metresPerUnit, 0, 0);
  const PJ_COORD result = proj_trans(handles_->transform.get(), PJ_FWD, in);
  if (!std::isfinite(result.xy.x) || !std::isfinite(result.xy.y)) return false;
  out = LonLat{result.lp.lam, result.lp.phi};
  return std::abs(out.Lat) <= 90 && std::abs(out.Lon) <= 360;
}

bool GeoTransform::FromWgs84(const LonLat& in, double& north, double& east) const {
  const PJ_COORD result = proj_trans(handles_->transform.get(), PJ_INV, proj_coord(in.Lon, in.Lat, 0, 0));
  if (!std::isfinite(result.xy.x) || !std::isfinite(result.xy.y)) return false;
  east = result.xy.x * handles_->metresPerUnit;
  north = result.xy.y * handles_->metresPerUnit;
  return true;
}

std::vector<ProjectedSystem> ProjectedSystems() {
  std::vector<ProjectedSystem> systems;
  const Context context = QuietContext();
  if (!context) return systems;
  PROJ_CRS_LIST_PARAMETERS* parameters = proj_get_crs_list_parameters_create();
  const PJ_TYPE projected = PJ_TYPE_PROJECTED_CRS;
  parameters->types = &projected;
  parameters->typesCount = 1;
  int count = 0;
  PROJ_CRS_INFO** list = proj_get_crs_info_list_from_database(context.get(), "EPSG", parameters, &count);
  proj_get_crs_list_parameters_destroy(parameters);
  if (list == nullptr) return systems;
  systems.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const PROJ_CRS_INFO& info = *list[i];
    if (info.deprecated != 0 || info.code == nullptr || info.name == nullptr) continue;
    systems.push_back({std::string("EPSG:") + info.code, info.name});
  }
  proj_crs_info_list_destroy(list);
  // The register lists codes as text; sorted as numbers they read in order.
  auto number = [](const ProjectedSystem& s) {
    long value = 0;
    std::from_chars(s.Code.data() + 5, s.Code.data() + s.Code.size(), value);
    return value;
  };
  std::stable_sort(systems.begin(), systems.end(),
                   [&number](const ProjectedSystem& a, const ProjectedSystem& b) { return number(a) < number(b); });
  return systems;
}

}  // namespace theolink
