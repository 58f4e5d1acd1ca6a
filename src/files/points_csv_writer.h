#pragma once
// Points as a table that a GIS and a spreadsheet open as columns: UTF-8 (with the byte
// order mark spreadsheets look for), a header "name,code,N,E,Z" with north and east in the
// current order, the names decoded from the instrument's code page.
#include <optional>

#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// Fields joined by separator; one holding it, a quote or a line end is double-quoted.
void WritePointsCsv(const WorkingData& points, LineOut lines, const Settings& settings, char separator,
                    TaskProgress* progress);

}  // namespace theolink
