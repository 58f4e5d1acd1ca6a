#pragma once
// The send buffer of an upload, built from the working data: the window and the command
// line send the same lines for the same list.
#include "files/working_data.h"
#include "records/line_list.h"

namespace theolink {

// One upload line per point of PointList.
LineList CoordSendLines(const WorkingData& data);
// The non-empty entries of CodeList, unchanged: an empty code is not sent.
LineList CodeSendLines(const WorkingData& data);
// By DataKind: points for coordinates, codes for codes, nothing otherwise.
LineList SendLinesFor(const WorkingData& data);

}  // namespace theolink
