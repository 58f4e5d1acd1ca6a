#pragma once
// A minimal ASCII DXF drawing of the point list: extents, then for every point three
// labels (name, elevation, code) and a POINT entity. Always in metres, DXF X = north.
#include "files/line_sink.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"

namespace theolink {

// Appends the whole drawing to lines. An empty point list gives zero extents and no entity.
// The points written are reported to progress, which may cancel.
void WriteDxf(const WorkingData& data, LineOut lines, TaskProgress* progress = nullptr);

}  // namespace theolink
