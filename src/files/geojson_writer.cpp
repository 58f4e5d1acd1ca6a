#include "files/geojson_writer.h"

#include <string>
#include <vector>

#include "files/markup_text.h"
#include "files/wgs84_points.h"
#include "records/fixed_text.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

void AppendProperty(std::string& row, std::string_view name, std::string_view dataBytes) {
  AppendJsonString(row, name);
  row += ':';
  AppendJsonString(row, DataTextUtf8(dataBytes));
}

void AppendNumber(std::string& row, std::string_view name, double metres, int form) {
  row += ',';
  AppendJsonString(row, name);
  row += ':';
  AppendDistance(row, metres, form);
}

std::string_view UnitName(const Settings& settings) {
  return settings.DistanceUnit == 1 ? "US survey foot" : settings.DistanceUnit == 2 ? "foot" : "metre";
}

void GeoJsonRows(const std::vector<PointRecord>& list, const std::vector<LonLat>& wgs84, LineOut& lines,
                 const Settings& settings) {
  lines.Reserve(list.size() + 3);
  // The source system and unit are foreign members: RFC 7946 has no place for them.
  std::string row = "{\"type\":\"FeatureCollection\",\"sourceCrs\":";
  AppendJsonString(row, settings.Crs);
  row += ",\"sourceUnit\":";
  AppendJsonString(row, UnitName(settings));
  row += ",\"features\":[";
  lines.Add(row);
  const int form = DistanceFormCode(settings);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PointRecord& p = list[i];
    row = "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[";
    AppendLonLatHeight(row, wgs84[i], p.Elevation);  // metres, as the format wants them
    row += "]},\"properties\":{";
    AppendProperty(row, "name", ShownNameView(p.Name));
    row += ',';
    AppendProperty(row, "code", p.Code.View());
    AppendNumber(row, "height", p.Elevation, form);
    AppendNumber(row, "north", p.North, form);
    AppendNumber(row, "east", p.East, form);
    row += i + 1 < list.size() ? "}}," : "}}";
    lines.Add(row);
  }
  lines.Add("]}");
}

}  // namespace

std::optional<ExportRefusal> WriteGeoJson(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress) {
  return WriteInWgs84(points, lines, settings, progress, GeoJsonRows);
}

}  // namespace theolink
