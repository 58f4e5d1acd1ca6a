// The layout readers on a line list: what tests and small callers use.
#include "records/binary_layout_table.h"
#include "records/binary_layouts.h"

namespace theolink {
namespace {

std::int32_t ReadToList(BinaryLayoutReader read, const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return read(in, out);
}

}  // namespace

std::int32_t ReadLayoutM48(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutM48, in, lines); }
std::int32_t ReadLayoutM56(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutM56, in, lines); }
std::int32_t ReadLayoutD96(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutD96, in, lines); }
std::int32_t ReadLayoutJ112(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutJ112, in, lines); }
std::int32_t ReadLayoutJ136(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutJ136, in, lines); }
std::int32_t ReadLayoutP56(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutP56, in, lines); }
std::int32_t ReadLayoutP40(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadLayoutP40, in, lines); }
std::int32_t ReadMeaLayouts(const BinaryInput& in, LineList& lines) { return ReadToList(&ReadMeaLayouts, in, lines); }

}  // namespace theolink
