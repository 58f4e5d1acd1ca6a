// The job layouts with a header that is skipped: .dat/.cor (96 bytes), .job (112 bytes) and
// .jbf (48-byte header, 136-byte records).
#include <cstddef>

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

std::string NoteLine(const RecordView& r, std::size_t width) {
  return KeywordLine("NOTE", {LineSafeText(r.Text(1, width))});
}

std::int32_t HandleD96(const RecordView& r, LineOutput& lines) {
  const int type = r.I8(0);
  if (type == 10) return kBinaryOk;
  if (type == 8) {
    lines.Add(NoteLine(r, 95));
    return kBinaryOk;
  }
  if (type < 1 || type == 9 || type > 11) return kBinaryBadRecordType;

  const std::string name = LineSafeText(r.Text(1, 9));
  const std::string code = LineSafeText(r.Text(10, 22));
  auto hvd = [&] {
    return KeywordLine("HVD", {SecondsText(r.F64(40)), SecondsText(r.F64(48)), MetreText(r.F64(32))});
  };
  auto enz = [&] { return KeywordLine("ENZ", {MetreText(r.F64(64)), MetreText(r.F64(56)), MetreText(r.F64(72))}); };
  switch (type) {
    case 1:
      lines.Add(KeywordLine("STA", {name, MetreText(r.F64(80)), code}));
      lines.Add(KeywordLine("XYZ", {MetreText(r.F64(64)), MetreText(r.F64(56)), MetreText(r.F64(72))}));
      break;
    case 2:
      lines.Add(KeywordLine("BS", {name, MetreText(r.F64(88))}));
      lines.Add(hvd());
      break;
    case 3:
      lines.Add(KeywordLine("SA", {name, MetreText(r.F64(88)), code}));
      lines.Add(KeywordLine("HV", {SecondsText(r.F64(40)), SecondsText(r.F64(48))}));
      break;
    case 4:
      lines.Add(KeywordLine("SD", {name, MetreText(r.F64(88)), code}));
      lines.Add(hvd());
      break;
    case 5:
      lines.Add(KeywordLine("BKB", {name, SecondsText(r.F64(40)), SecondsText(r.F64(48))}));
      break;
    case 6:
      lines.Add(KeywordLine("SC", {name, MetreText(r.F64(88)), code}));
      lines.Add(hvd());
      lines.Add(enz());
      break;
    default:  // 7, 11
      lines.Add(KeywordLine("SC", {name, MetreText(r.F64(88)), code}));
      lines.Add(enz());
      break;
  }
  return kBinaryOk;
}

std::int32_t HandleJ112(const RecordView& r, LineOutput& lines) {
  const int type = r.I8(0);
  if (type == 5 || type == 9 || type == 10) return kBinaryOk;
  if (type == 8) {
    lines.Add(NoteLine(r, 111));
    return kBinaryOk;
  }
  if (type < 1 || type > 11) return kBinaryBadRecordType;

  const std::string name = LineSafeText(r.Text(1, 30));
  const std::string code = LineSafeText(r.Text(31, 17));
  auto hvd = [&] {
    return KeywordLine("HVD", {SecondsText(r.F64(72)), SecondsText(r.F64(80)), MetreText(r.F64(88))});
  };
  auto enz = [&] { return KeywordLine("ENZ", {MetreText(r.F64(56)), MetreText(r.F64(48)), MetreText(r.F64(64))}); };
  switch (type) {
    case 1:
      lines.Add(KeywordLine("STA", {name, MetreText(r.F64(96)), code}));
      lines.Add(KeywordLine("XYZ", {MetreText(r.F64(56)), MetreText(r.F64(48)), MetreText(r.F64(64))}));
      break;
    case 2:
      // A backsight without a distance is a backsight by angle.
      if (r.F64(88) != 0) {
        lines.Add(KeywordLine("BS", {name, MetreText(r.F64(104))}));
        lines.Add(hvd());
      } else {
        lines.Add(KeywordLine("BKB", {name, SecondsText(r.F64(72)), SecondsText(r.F64(80))}));
      }
      break;
    case 3:
      lines.Add(KeywordLine("SA", {name, MetreText(r.F64(104)), code}));
      lines.Add(KeywordLine("HV", {SecondsText(r.F64(72)), SecondsText(r.F64(80))}));
      break;
    case 4:
      lines.Add(KeywordLine("SD", {name, MetreText(r.F64(104)), code}));
      lines.Add(hvd());
      break;
    case 7:
      lines.Add(KeywordLine("SC", {name, MetreText(r.F64(104)), code}));
      lines.Add(hvd());
      lines.Add(enz());
      break;
    default:  // 6, 11
      lines.Add(KeywordLine("SC", {name, MetreText(r.F64(104)), code}));
      lines.Add(enz());
      break;
  }
  return kBinaryOk;
}

// Point lines of this layout carry no code.
std::int32_t HandleJ136(const RecordView& r, LineOutput& lines) {
  const int type = r.I8(0);
  const std::string name = LineSafeText(r.Text(16, 10));
  auto nez = [&](std::size_t at) {
    return KeywordLine("NEZ", {MetreText(r.F64(at)), MetreText(r.F64(at + 8)), MetreText(r.F64(at + 16))});
  };
  auto hvd = [&] {
    return KeywordLine("HVD", {SecondsText(r.F64(64)), SecondsText(r.F64(56)), MetreText(r.F64(72))});
  };
  switch (type) {
    case 1:
      lines.Add(KeywordLine("STA", {name, MetreText(r.F32(28)), ""}));
      lines.Add(KeywordLine("XYZ", {MetreText(r.F64(48)), MetreText(r.F64(56)), MetreText(r.F64(64))}));
      break;
    case 2:
      lines.Add(KeywordLine("SC", {name, "0.0000", ""}));
      lines.Add(nez(56));
      break;
    case 3:
      lines.Add(KeywordLine("SC", {name, MetreText(r.F32(48)), ""}));
      lines.Add(hvd());
      lines.Add(nez(96));
      break;
    case 5:
      lines.Add(KeywordLine("SC", {name, MetreText(r.F32(48)), ""}));
      lines.Add(nez(56));
      break;
    case 6:
      lines.Add(KeywordLine("BS", {name, MetreText(r.F32(48))}));
      lines.Add(hvd());
      if (r.U8(27) != 0) {
        lines.Add(KeywordLine("SC", {name, MetreText(r.F32(48)), ""}));
        lines.Add(nez(96));
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
  return WalkRecords(in, kD96Size, kD96Size, [&](const RecordView& r) { return HandleD96(r, lines); });
}

std::int32_t ReadLayoutJ112(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kJ112Size); rc != kBinaryOk) return rc;
  return WalkRecords(in, kJ112Size, kJ112Size, [&](const RecordView& r) { return HandleJ112(r, lines); });
}

std::int32_t ReadLayoutJ136(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kJ136HeaderSize); rc != kBinaryOk) return rc;
  return WalkRecords(in, kJ136HeaderSize, kJ136Size, [&](const RecordView& r) { return HandleJ136(r, lines); });
}

}  // namespace theolink
