#include "files/wgs84_points.h"

#include "files/markup_text.h"
#include "records/fixed_text.h"

namespace theolink {

std::optional<ExportRefusal> ToWgs84(const std::vector<PointRecord>& points, const Settings& settings,
                                     std::vector<LonLat>& out, TaskProgress* progress) {
  if (const auto problem = CrsProblem(settings.Crs)) return ExportRefusal{*problem, settings.Crs};
  const std::unique_ptr<GeoTransform> transform = GeoTransform::Open(settings.Crs);
  if (!transform) return ExportRefusal{TextId::CrsUnknown, settings.Crs};
  out.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    ReportEvery(progress, i, points.size());
    if (!transform->ToWgs84(points[i].North, points[i].East, out[i]))
      return ExportRefusal{TextId::CrsOutside, DataTextUtf8(ShownNameView(points[i].Name))};
  }
  return std::nullopt;
}

}  // namespace theolink
