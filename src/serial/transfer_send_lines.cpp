#include "serial/transfer_send_lines.h"

#include "files/save_writers.h"

namespace theolink {

LineList CoordSendLines(const WorkingData& data) {
  LineList lines;
  WriteUploadCoordLines(data, lines);
  return lines;
}

LineList CodeSendLines(const WorkingData& data) {
  LineList lines;
  for (const CodeEntry& entry : data.CodeList)
    if (!entry.Code.Empty()) lines.push_back(entry.Code.Str());
  return lines;
}

LineList SendLinesFor(const WorkingData& data) {
  if (data.DataKind == DataKind::Coord) return CoordSendLines(data);
  if (data.DataKind == DataKind::Code) return CodeSendLines(data);
  return {};
}

}  // namespace theolink
