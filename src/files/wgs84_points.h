#pragma once
// Every point of a list in WGS 84, for the exports that need longitude and latitude.
#include <optional>
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

}  // namespace theolink
