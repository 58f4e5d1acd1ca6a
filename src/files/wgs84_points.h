#pragma once
// Every point of a list in WGS 84, for the exports that need longitude and latitude.
#include <optional>
#include <string>
#include <vector>

#include "files/geo_transform.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "records/measure_record.h"
#include "records/settings.h"

namespace theolink {

// The points in order, transformed from settings.Crs; all or none: a refusal names the
// missing system or the first point that does not transform.
std::optional<ExportRefusal> ToWgs84(const std::vector<PointRecord>& points, const Settings& settings,
                                     std::vector<LonLat>& out, TaskProgress* progress);

// Writes the rows of a point list whose WGS 84 positions are known, wgs84[i] for points[i].
using Wgs84Rows = void (*)(const std::vector<PointRecord>& points, const std::vector<LonLat>& wgs84, LineOut& lines,
                           const Settings& settings);
// A point writer for the save-format table: transforms every point, then writes rows, or
// refuses before any line as ToWgs84 does.
std::optional<ExportRefusal> WriteInWgs84(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress, Wgs84Rows rows);
// "lon,lat,height": degrees with 9 decimals, the height in metres with 4.
void AppendLonLatHeight(std::string& row, const LonLat& at, double elevation);

}  // namespace theolink
