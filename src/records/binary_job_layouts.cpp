// The job layouts with a header that is skipped: .dat/.cor (96 bytes), .job (112 bytes) and
// .jbf (48-byte header, 136-byte records).
#include <cstddef>
#include <string_view>

#include "records/binary_layouts.h"
#include "records/binary_lines.h"

namespace theolink {
namespace {

constexpr std::size_t kD96Size = 96;
constexpr std::size_t kJ112Size = 112;
constexpr std::size_t kJ136HeaderSize = 48;
constexpr std::size_t kJ136Size = 136;
// The byte offsets and text widths in the handlers below are where the instrument puts each
// field in its records; they are fixed by its files, not derived from anything here.

void AddNote(const RecordView& r, std::size_t width, KeywordLineBuilder& b, LineOutput& lines) {
  lines.Add(b.Start("NOTE").SafeText(r.Text(1, width)).Line());
}

std::int32_t HandleD96(const RecordView& r, KeywordLineBuilder& b, LineOutput& lines) {
  const int type = r.I8(0);
  if (type == 10) return kBinaryOk;
  if (type == 8) {
    AddNote(r, 95, b, lines);
    return kBinaryOk;
  }
  if (type < 1 || type == 9 || type > 11) return kBinaryBadRecordType;

  const std::string_view name = r.Text(1, 9);
  const std::string_view code = r.Text(10, 22);
  auto hvd = [&] { lines.Add(b.Start("HVD").Seconds(r.F64(40)).Seconds(r.F64(48)).Metres(r.F64(32)).Line()); };
  auto enz = [&] { lines.Add(b.Start("ENZ").Metres(r.F64(64)).Metres(r.F64(56)).Metres(r.F64(72)).Line()); };
  switch (type) {
    case 1:
      lines.Add(b.Start("STA").SafeText(name).Metres(r.F64(80)).SafeText(code).Line());
      lines.Add(b.Start("XYZ").Metres(r.F64(64)).Metres(r.F64(56)).Metres(r.F64(72)).Line());
      break;
    case 2:
      lines.Add(b.Start("BS").SafeText(name).Metres(r.F64(88)).Line());
      hvd();
      break;
    case 3:
      lines.Add(b.Start("SA").SafeText(name).Metres(r.F64(88)).SafeText(code).Line());
      lines.Add(b.Start("HV").Seconds(r.F64(40)).Seconds(r.F64(48)).Line());
      break;
    case 4:
      lines.Add(b.Start("SD").SafeText(name).Metres(r.F64(88)).SafeText(code).Line());
      hvd();
      break;
    case 5:
      lines.Add(b.Start("BKB").SafeText(name).Seconds(r.F64(40)).Seconds(r.F64(48)).Line());
      break;
    case 6:
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F64(88)).SafeText(code).Line());
      hvd();
      enz();
      break;
    default:  // 7, 11
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F64(88)).SafeText(code).Line());
      enz();
      break;
  }
  return kBinaryOk;
}

std::int32_t HandleJ112(const RecordView& r, KeywordLineBuilder& b, LineOutput& lines) {
  const int type = r.I8(0);
  if (type == 5 || type == 9 || type == 10) return kBinaryOk;
  if (type == 8) {
    AddNote(r, 111, b, lines);
    return kBinaryOk;
  }
  if (type < 1 || type > 11) return kBinaryBadRecordType;

  const std::string_view name = r.Text(1, 30);
  const std::string_view code = r.Text(31, 17);
  auto hvd = [&] { lines.Add(b.Start("HVD").Seconds(r.F64(72)).Seconds(r.F64(80)).Metres(r.F64(88)).Line()); };
  auto enz = [&] { lines.Add(b.Start("ENZ").Metres(r.F64(56)).Metres(r.F64(48)).Metres(r.F64(64)).Line()); };
  switch (type) {
    case 1:
      lines.Add(b.Start("STA").SafeText(name).Metres(r.F64(96)).SafeText(code).Line());
      lines.Add(b.Start("XYZ").Metres(r.F64(56)).Metres(r.F64(48)).Metres(r.F64(64)).Line());
      break;
    case 2:
      // A backsight without a distance is a backsight by angle.
      if (r.F64(88) != 0) {
        lines.Add(b.Start("BS").SafeText(name).Metres(r.F64(104)).Line());
        hvd();
      } else {
        lines.Add(b.Start("BKB").SafeText(name).Seconds(r.F64(72)).Seconds(r.F64(80)).Line());
      }
      break;
    case 3:
      lines.Add(b.Start("SA").SafeText(name).Metres(r.F64(104)).SafeText(code).Line());
      lines.Add(b.Start("HV").Seconds(r.F64(72)).Seconds(r.F64(80)).Line());
      break;
    case 4:
      lines.Add(b.Start("SD").SafeText(name).Metres(r.F64(104)).SafeText(code).Line());
      hvd();
      break;
    case 7:
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F64(104)).SafeText(code).Line());
      hvd();
      enz();
      break;
    default:  // 6, 11
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F64(104)).SafeText(code).Line());
      enz();
      break;
  }
  return kBinaryOk;
}

// Point lines of this layout carry no code.
std::int32_t HandleJ136(const RecordView& r, KeywordLineBuilder& b, LineOutput& lines) {
  const int type = r.I8(0);
  const std::string_view name = r.Text(16, 10);
  auto nez = [&](std::size_t at) {
    lines.Add(b.Start("NEZ").Metres(r.F64(at)).Metres(r.F64(at + 8)).Metres(r.F64(at + 16)).Line());
  };
  auto hvd = [&] { lines.Add(b.Start("HVD").Seconds(r.F64(64)).Seconds(r.F64(56)).Metres(r.F64(72)).Line()); };
  switch (type) {
    case 1:
      lines.Add(b.Start("STA").SafeText(name).Metres(r.F32(28)).Text("").Line());
      lines.Add(b.Start("XYZ").Metres(r.F64(48)).Metres(r.F64(56)).Metres(r.F64(64)).Line());
      break;
    case 2:
      lines.Add(b.Start("SC").SafeText(name).Text("0.0000").Text("").Line());
      nez(56);
      break;
    case 3:
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F32(48)).Text("").Line());
      hvd();
      nez(96);
      break;
    case 5:
      lines.Add(b.Start("SC").SafeText(name).Metres(r.F32(48)).Text("").Line());
      nez(56);
      break;
    case 6:
      lines.Add(b.Start("BS").SafeText(name).Metres(r.F32(48)).Line());
      hvd();
      if (r.U8(27) != 0) {
        lines.Add(b.Start("SC").SafeText(name).Metres(r.F32(48)).Text("").Line());
        nez(96);
      }
      break;
    default:
      break;  // other record kinds carry nothing the job text holds
  }
  return kBinaryOk;
}

}  // namespace

std::int32_t ReadLayoutD96(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kD96Size); rc != kBinaryOk) return rc;
  KeywordLineBuilder line;
  return WalkRecords(in, kD96Size, kD96Size, [&](const RecordView& r) { return HandleD96(r, line, lines); });
}

std::int32_t ReadLayoutJ112(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kJ112Size); rc != kBinaryOk) return rc;
  KeywordLineBuilder line;
  return WalkRecords(in, kJ112Size, kJ112Size, [&](const RecordView& r) { return HandleJ112(r, line, lines); });
}

std::int32_t ReadLayoutJ136(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kJ136HeaderSize); rc != kBinaryOk) return rc;
  KeywordLineBuilder line;
  return WalkRecords(in, kJ136HeaderSize, kJ136Size, [&](const RecordView& r) { return HandleJ136(r, line, lines); });
}

}  // namespace theolink
