#include "records/binary_measure_reader.h"

#include "records/binary_file.h"
#include "records/binary_layout_table.h"
#include "records/file_name_parts.h"

namespace theolink {

std::int32_t ReadMeasureBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadMeasureBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadMeasureBinary(const std::string& path, LineOutput& lines) {
  const BinaryLayoutRow* layout = ChooseBinaryLayout(BinaryFileKind::Measure, LowerFileName(path));
  if (layout == nullptr) return kBinaryOk;
  BinaryFile file;
  if (file.Open(path) != kBinaryOk) return kBinaryCannotOpen;
  return layout->Read(BinaryInput(file), lines);
}

}  // namespace theolink
