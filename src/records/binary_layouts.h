#pragma once
// The record layouts of the instrument's binary files, each read from a file's bytes. Every
// function appends the lines of the records in order and returns the reader's result code;
// the lines of records before a failure stay appended.
#include <cstdint>

#include "records/binary_file.h"
#include "records/line_list.h"
#include "records/line_output.h"

namespace theolink {

std::int32_t ReadLayoutM48(const BinaryInput& in, LineOutput& lines);   // .mea, 48-byte records
std::int32_t ReadLayoutM56(const BinaryInput& in, LineOutput& lines);   // .mea, 56-byte records
std::int32_t ReadLayoutD96(const BinaryInput& in, LineOutput& lines);   // .dat and .cor
std::int32_t ReadLayoutJ112(const BinaryInput& in, LineOutput& lines);  // .job
std::int32_t ReadLayoutJ136(const BinaryInput& in, LineOutput& lines);  // .jbf
std::int32_t ReadLayoutP56(const BinaryInput& in, LineOutput& lines);   // .pts
std::int32_t ReadLayoutP40(const BinaryInput& in, LineOutput& lines);   // .ptf

// A .mea file: read as M48 when that reads cleanly, otherwise as M56 (with M56's result),
// except that a file M48 reads up to a last record cut short, and M56 cannot read, gives
// M48's lines and kBinaryCutShort.
std::int32_t ReadMeaLayouts(const BinaryInput& in, LineOutput& lines);

// The same, appending to a line list.
std::int32_t ReadLayoutM48(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutM56(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutD96(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutJ112(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutJ136(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutP56(const BinaryInput& in, LineList& lines);
std::int32_t ReadLayoutP40(const BinaryInput& in, LineList& lines);
std::int32_t ReadMeaLayouts(const BinaryInput& in, LineList& lines);

}  // namespace theolink
