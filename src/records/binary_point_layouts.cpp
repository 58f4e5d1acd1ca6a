// The two coordinate-list layouts, without a header: .pts (typed 56-byte records) and .ptf
// (40-byte records, every one a point).
#include <cstddef>

#include "records/binary_layouts.h"
#include "records/binary_lines.h"

namespace theolink {
namespace {

constexpr std::size_t kP56Size = 56;
constexpr std::size_t kP40Size = 40;
constexpr std::uint8_t kP56Point = 11;
constexpr std::uint8_t kP56Filler = 10;
// The byte offsets and text widths in the handlers below are where the instrument puts each
// field in its records; they are fixed by its files, not derived from anything here.

std::int32_t HandleP56(const RecordView& r, KeywordLineBuilder& b, LineOutput& lines) {
  const std::uint8_t type = r.U8(0);
  if (type == kP56Filler) return kBinaryOk;
  if (type != kP56Point) return kBinaryBadRecordType;
  lines.Add(b.Start("SC").SafeText(r.Text(1, 15)).Text("0.0000").SafeText(r.Text(16, 16)).Line());
  lines.Add(b.Start("ENZ").Metres(r.F64(40)).Metres(r.F64(32)).Metres(r.F64(48)).Line());
  return kBinaryOk;
}

std::int32_t HandleP40(const RecordView& r, KeywordLineBuilder& b, LineOutput& lines) {
  lines.Add(b.Start("SC").SafeText(r.Text(0, 16)).Text("0").Text("").Line());
  lines.Add(b.Start("NEZ").Metres(r.F64(16)).Metres(r.F64(24)).Metres(r.F64(32)).Line());
  return kBinaryOk;
}

}  // namespace

std::int32_t ReadLayoutP56(const BinaryInput& in, LineOutput& lines) {
  KeywordLineBuilder line;
  return WalkRecords(in, 0, kP56Size, [&](const RecordView& r) { return HandleP56(r, line, lines); });
}

std::int32_t ReadLayoutP40(const BinaryInput& in, LineOutput& lines) {
  KeywordLineBuilder line;
  return WalkRecords(in, 0, kP40Size, [&](const RecordView& r) { return HandleP40(r, line, lines); });
}

}  // namespace theolink
