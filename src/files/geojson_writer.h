#pragma once
// GeoJSON (RFC 7946): a FeatureCollection with a Point feature per point in WGS 84
// longitude, latitude and height, and the name, code and source coordinates (in the
// distance unit of the settings) as properties.
#include <optional>

#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// Refused when settings.Crs names no usable system or a point does not transform.
std::optional<ExportRefusal> WriteGeoJson(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress);

}  // namespace theolink
