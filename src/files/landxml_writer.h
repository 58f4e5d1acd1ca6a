#pragma once
// LandXML 1.2: the points as CgPoints (name, code as description, northing easting
// elevation in the distance unit of the settings, which the Units element names).
#include <optional>

#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// The file's date and time are now, or SOURCE_DATE_EPOCH when set (reproducible output).
std::optional<ExportRefusal> WriteLandXml(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress);

}  // namespace theolink
