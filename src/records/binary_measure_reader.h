#pragma once
// Reading of the instrument's binary measurement job files into keyword lines.
#include <cstdint>
#include <string>

#include "records/line_list.h"
#include "records/line_output.h"

namespace theolink {

// Appends the keyword lines of the job file at path to lines; the layout is chosen by the
// lower-cased path (.mea, .dat, .job, .jbf). Returns 0 on success or a negative read code
// (-1 open, -2 empty or short header, -3 read failure, -4 bad record type, -6 bad file type,
// -8 a .mea file whose last record is cut short);
// lines appended before a failure stay.
std::int32_t ReadMeasureBinary(const std::string& path, LineList& lines);
std::int32_t ReadMeasureBinary(const std::string& path, LineOutput& lines);

}  // namespace theolink
