#pragma once
// Reading of the instrument's binary coordinate files into keyword lines.
#include <cstdint>
#include <string>

#include "records/line_list.h"
#include "records/line_output.h"

namespace theolink {

// Appends the keyword lines of the coordinate file at path to lines; the layout is chosen by
// the lower-cased path (.cor, .pts, .ptf, anything else as a .mea job). Result codes as
// ReadMeasureBinary; lines appended before a failure stay.
std::int32_t ReadCoordBinary(const std::string& path, LineList& lines);
std::int32_t ReadCoordBinary(const std::string& path, LineOutput& lines);

}  // namespace theolink
