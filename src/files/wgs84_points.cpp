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

std::optional<ExportRefusal> WriteInWgs84(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress, Wgs84Rows rows) {
  std::vector<LonLat> wgs84;
  if (const auto refused = ToWgs84(points.PointList, settings, wgs84, progress)) return refused;
  rows(points.PointList, wgs84, lines, settings);
  return std::nullopt;
}

void AppendLonLatHeight(std::string& row, const LonLat& at, double elevation) {
  AppendDecimals(row, at.Lon, 9);
  row += ',';
  AppendDecimals(row, at.Lat, 9);
  row += ',';
  AppendDecimals(row, elevation, 4);
}

}  // namespace theolink
