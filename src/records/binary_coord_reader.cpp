#include "records/binary_coord_reader.h"

#include "records/binary_file.h"
#include "records/binary_layout_table.h"
#include "records/binary_layouts.h"
#include "records/file_name_parts.h"

namespace theolink {

std::int32_t ReadCoordBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadCoordBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadCoordBinary(const std::string& path, LineOutput& lines) {
  // A coordinate file whose name holds none of the endings is read as its .mea records.
  const BinaryLayoutRow* layout = ChooseBinaryLayout(BinaryFileKind::Coord, LowerFileName(path));
  const BinaryLayoutReader read = layout != nullptr ? layout->Read : static_cast<BinaryLayoutReader>(&ReadMeaLayouts);
  BinaryFile file;
  if (file.Open(path) != kBinaryOk) return kBinaryCannotOpen;
  return read(BinaryInput(file), lines);
}

}  // namespace theolink
