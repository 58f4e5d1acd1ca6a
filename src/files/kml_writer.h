#pragma once
// KML 2.2: a placemark per point in WGS 84 with its name and code; stations are drawn
// apart from the other points.
#include <optional>

#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// Refused when settings.Crs names no usable system or a point does not transform.
std::optional<ExportRefusal> WriteKml(const WorkingData& points, LineOut lines, const Settings& settings,
                                      TaskProgress* progress);

}  // namespace theolink
