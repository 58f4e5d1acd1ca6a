// The two .mea layouts. Both start with a file-type byte; the 48-byte one peeks at each
// record before reading it, so a short last record is an error there but not in the 56-byte
// one.
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "records/bearing.h"
#include "records/binary_layouts.h"
#include "records/binary_lines.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr std::size_t kM48Size = 48;
constexpr std::size_t kM56Size = 56;
// The byte offsets and text widths in the handlers below are where the instrument puts each
// field in its records; they are fixed by its files, not derived from anything here.

std::int32_t CheckFileType(const BinaryInput& in) {
  if (const std::int32_t rc = CheckHeader(in, 1); rc != kBinaryOk) return rc;
  const auto fileType = static_cast<signed char>(in.From(0, 1)[0]);
  return fileType == 1 || fileType == 2 ? kBinaryOk : kBinaryBadFileType;
}

// The name, code and target height both layouts keep at the same offsets.
struct MeaHead {
  explicit MeaHead(const RecordView& r)
      : name(NameOrNoname(r.Text(1, 9))), code(LineSafeText(r.Text(10, 10))), height(MetreText(r.F32(20))) {}
  // The first line of a record: keyword, name, height, code.
  std::string Line(std::string_view keyword) const { return KeywordLine(keyword, {name, height, code}); }
  std::string name, code, height;
};

// A point both layouts store as north at 24, east at 32 and elevation at 40, written east first.
std::string PointLine(std::string_view keyword, const RecordView& r) {
  return KeywordLine(keyword, {MetreText(r.F64(32)), MetreText(r.F64(24)), MetreText(r.F64(40))});
}

// Where the layouts differ in a shot: the angles in whole seconds at 28 (horizontal) and 24
// (vertical), unsigned in M48 and signed in M56; the slope distance at 40, a float in M48.
struct MeaShot {
  bool M56;
  std::string Angle(const RecordView& r, std::size_t at) const {
    return SecondsText(M56 ? static_cast<double>(r.I32(at)) : static_cast<double>(r.U32(at)));
  }
  std::string Hv(const RecordView& r) const { return KeywordLine("HV", {Angle(r, 28), Angle(r, 24)}); }
  std::string Hvd(const RecordView& r) const {
    return KeywordLine("HVD", {Angle(r, 28), Angle(r, 24), MetreText(M56 ? r.F64(40) : r.F32(40))});
  }
};

// The record types both layouts write alike: station (1), angle shot (2, 5), slope shot (6,
// 7) and coordinate (8). False, with nothing written, for any other type.
bool AddCommonRecord(int type, const MeaHead& h, const MeaShot& shot, const RecordView& r, LineOutput& lines) {
  switch (type) {
    case 1:
      lines.Add(h.Line("STA"));
      lines.Add(PointLine("XYZ", r));
      return true;
    case 2:
    case 5:
      lines.Add(h.Line("SA"));
      lines.Add(shot.Hv(r));
      return true;
    case 6:
    case 7:
      lines.Add(h.Line("SD"));
      lines.Add(shot.Hvd(r));
      return true;
    case 8:
      lines.Add(h.Line("SC"));
      lines.Add(PointLine("ENZ", r));
      return true;
    default:
      return false;
  }
}

bool KnownType(int type) { return type >= 1 && type <= 8; }

struct M48State {
  int lastType = 0;  // type of the last record that wrote lines
  double stationNorth = 0;
  double stationEast = 0;
};

std::int32_t HandleM48(const RecordView& r, M48State& state, LineOutput& lines) {
  const int type = r.I8(0);
  if (type == 13) return kBinaryOk;
  if (!KnownType(type)) return kBinaryBadRecordType;

  const MeaHead h(r);
  const MeaShot shot{false};
  if (type == 3) {
    lines.Add(KeywordLine("BS", {h.name, h.height}));
    lines.Add(shot.Hvd(r));
  } else if (type == 4) {
    double bearing = 0;
    if (state.lastType != 1 ||
        BearingBetween(state.stationNorth, state.stationEast, r.F64(24), r.F64(32), bearing) != 0)
      return kBinaryOk;
    lines.Add(KeywordLine("BKB", {h.name, "0.0000", FormatAngle(bearing, AngleSeconds)}));
  } else {
    AddCommonRecord(type, h, shot, r, lines);
  }
  if (type == 1) {
    state.stationNorth = r.F64(24);
    state.stationEast = r.F64(32);
  }
  state.lastType = type;
  return kBinaryOk;
}

// M56 writes a type 3 as a slope shot and a type 4 as a coordinate.
std::int32_t HandleM56(const RecordView& r, LineOutput& lines) {
  if (r.U8(1) == 127) return kBinaryOk;  // deleted on the instrument
  const int type = r.I8(0);
  if (!KnownType(type)) return kBinaryBadRecordType;
  const int written = type == 3 ? 6 : type == 4 ? 8 : type;
  AddCommonRecord(written, MeaHead(r), MeaShot{true}, r, lines);
  return kBinaryOk;
}

}  // namespace

std::int32_t ReadLayoutM48(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckFileType(in); rc != kBinaryOk) return rc;
  M48State state;
  for (std::size_t pos = 1;;) {
    std::string_view bytes = in.From(pos, kM48Size);
    if (bytes.empty()) return in.ReadFailed() ? kBinaryReadFailed : kBinaryOk;
    if (bytes.size() < kM48Size) return kBinaryReadFailed;
    for (; bytes.size() >= kM48Size; bytes.remove_prefix(kM48Size), pos += kM48Size)
      if (const std::int32_t rc = HandleM48(RecordView(bytes.data()), state, lines); rc != kBinaryOk) return rc;
  }
}

std::int32_t ReadLayoutM56(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckFileType(in); rc != kBinaryOk) return rc;
  return WalkRecords(in, 1, kM56Size, [&](const RecordView& r) { return HandleM56(r, lines); });
}

namespace {

class Discard final : public LineOutput {
 public:
  void Add(std::string_view) override {}
};

}  // namespace

std::int32_t ReadMeaLayouts(const BinaryInput& in, LineOutput& lines) {
  // The trial read only decides the layout; a clean one is read again into lines.
  Discard trial;
  const std::int32_t m48 = ReadLayoutM48(in, trial);
  if (m48 == kBinaryOk) return ReadLayoutM48(in, lines);
  // Without a read error, M48 fails this way only at a last record cut short, every record
  // before it whole and of a known type. When M56 makes no sense of the file either, it is
  // a 48-byte job cut short: say so, rather than what M56 stumbles over.
  const bool m48CutShort = m48 == kBinaryReadFailed && !in.ReadFailed();
  if (!m48CutShort || ReadLayoutM56(in, trial) == kBinaryOk) return ReadLayoutM56(in, lines);
  ReadLayoutM48(in, lines);
  return kBinaryCutShort;
}

}  // namespace theolink
