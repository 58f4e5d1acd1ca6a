#include "records/binary_coord_reader.h"

#include "records/binary_layout_table.h"
#include "records/binary_layouts.h"

namespace theolink {

std::int32_t ReadCoordBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadCoordBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadCoordBinary(const std::string& path, LineOutput& lines) {
  // A coordinate file whose name holds none of the endings is read as its .mea records.
  return ReadBinaryFileOfKind(BinaryFileKind::Coord, path, &ReadMeaLayouts, lines);
}

}  // namespace theolink
