#include "records/binary_measure_reader.h"

#include "records/binary_layout_table.h"

namespace theolink {

std::int32_t ReadMeasureBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadMeasureBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadMeasureBinary(const std::string& path, LineOutput& lines) {
  // A name that holds none of the endings is no job: nothing is read.
  return ReadBinaryFileOfKind(BinaryFileKind::Measure, path, nullptr, lines);
}

}  // namespace theolink
