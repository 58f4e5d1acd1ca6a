// The layout readers on a line list: what tests and small callers use.
#include "records/binary_layouts.h"

namespace theolink {

std::int32_t ReadLayoutM48(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutM48(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutM56(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutM56(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutD96(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutD96(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutJ112(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutJ112(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutJ136(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutJ136(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutP56(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutP56(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadLayoutP40(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadLayoutP40(in, static_cast<LineOutput&>(out));
}

std::int32_t ReadMeaLayouts(const BinaryInput& in, LineList& lines) {
  LineListOutput out(lines);
  return ReadMeaLayouts(in, static_cast<LineOutput&>(out));
}

}  // namespace theolink
