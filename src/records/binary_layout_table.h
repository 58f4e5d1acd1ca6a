#pragma once
// The instrument's binary files, one row per ending: which kind of data it holds and the
// layout reader it is read with. The probe, the two readers and the open dialog's filter all
// read this table; a new binary file is a row here and its layout reader.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "records/binary_file.h"
#include "records/line_output.h"

namespace theolink {

enum class BinaryFileKind : std::uint8_t { Measure, Coord };

using BinaryLayoutReader = std::int32_t (*)(const BinaryInput& in, LineOutput& lines);

struct BinaryLayoutRow {
  std::string_view Ending;  // ".mea", lower case
  BinaryFileKind Kind;
  BinaryLayoutReader Read;
  // When a file name holds several endings of its kind, the lowest rank decides.
  int Rank;
  // Text files use the ending too (CASS points in .dat): a file the reader refuses is
  // tried as text.
  bool MayBeText = false;
};

// In the order the open dialog names them.
std::span<const BinaryLayoutRow> BinaryLayoutRows();
// The row of exactly that ending (lower case, with its dot); nullptr for none.
const BinaryLayoutRow* FindBinaryLayout(std::string_view ending);
// The row of the kind whose ending occurs in the lower-cased file name, the lowest rank
// first; nullptr when none occurs.
const BinaryLayoutRow* ChooseBinaryLayout(BinaryFileKind kind, std::string_view lowerFileName);
// Reads the file at path with the kind's layout its lower-cased name chooses, or with
// otherwise when the name holds none of the kind's endings (then kBinaryOk and no lines when
// otherwise is nullptr). kBinaryCannotOpen when the file does not open.
std::int32_t ReadBinaryFileOfKind(BinaryFileKind kind, const std::string& path, BinaryLayoutReader otherwise,
                                  LineOutput& lines);
// "*.mea;*.job;..." for the kind's endings, in table order.
std::string BinaryPatterns(BinaryFileKind kind);

}  // namespace theolink
