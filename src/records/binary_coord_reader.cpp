#include "records/binary_coord_reader.h"

#include "records/binary_file.h"
#include "records/binary_layouts.h"
#include "records/file_name_parts.h"

namespace theolink {

std::int32_t ReadCoordBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadCoordBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadCoordBinary(const std::string& path, LineOutput& lines) {
  const std::string lower = LowerFileName(path);
  // The first of these texts found anywhere in the lower-cased file name decides; any other
  // coordinate file (.coo among them) is a .mea job.
  std::int32_t (*read)(const BinaryInput&, LineOutput&) = &ReadMeaLayouts;
  if (lower.find(".cor") != std::string::npos)
    read = &ReadLayoutD96;
  else if (lower.find(".pts") != std::string::npos)
    read = &ReadLayoutP56;
  else if (lower.find(".ptf") != std::string::npos)
    read = &ReadLayoutP40;
  BinaryFile file;
  if (file.Open(path) != kBinaryOk) return kBinaryCannotOpen;
  return read(BinaryInput(file), lines);
}

}  // namespace theolink
