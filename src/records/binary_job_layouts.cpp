// The job layouts with a header that is skipped: .dat/.cor (96 bytes), .job (112 bytes) and
// .jbf (48-byte header, 136-byte records).
#include <array>
#include <cstddef>
#include <string_view>

#include "records/binary_layouts.h"
#include "records/binary_lines.h"

namespace theolink {
namespace {

// The byte offsets and text widths below are where the instrument puts each field in its
// records; they are fixed by its files, not derived from anything here.

// What a record of the .dat and .job layouts holds, by its type byte.
enum class JobRecord : std::uint8_t {
  Bad,
  Skipped,
  Station,
  Backsight,
  BacksightOrBearing,  // a backsight without a distance is a backsight by angle
  Bearing,
  AngleShot,
  SlopeShot,
  CoordShot,
  ObservedCoordShot,
  Note,
};
using R = JobRecord;

// The .dat and .job layouts: a header as long as a record, then the records; in a record
// the type byte at 0 and the name at 1; angles in seconds, the rest in metres.
struct JobLayout {
  std::size_t size;
  std::size_t nameWidth, codeAt, codeWidth, noteWidth;
  std::size_t horizontal, vertical, slopeDistance;
  std::size_t east, north, elevation;
  std::size_t instrumentHeight, targetHeight;
  std::array<JobRecord, 12> types;  // by type byte; any other is Bad
};

constexpr JobLayout kD96{.size = 96, .nameWidth = 9, .codeAt = 10, .codeWidth = 22, .noteWidth = 95,
                         .horizontal = 40, .vertical = 48, .slopeDistance = 32, .east = 64, .north = 56,
                         .elevation = 72, .instrumentHeight = 80, .targetHeight = 88,
                         .types = {R::Bad, R::Station, R::Backsight, R::AngleShot, R::SlopeShot, R::Bearing,
                                   R::ObservedCoordShot, R::CoordShot, R::Note, R::Bad, R::Skipped, R::CoordShot}};

constexpr JobLayout kJ112{.size = 112, .nameWidth = 30, .codeAt = 31, .codeWidth = 17, .noteWidth = 111,
                          .horizontal = 72, .vertical = 80, .slopeDistance = 88, .east = 56, .north = 48,
                          .elevation = 64, .instrumentHeight = 96, .targetHeight = 104,
                          .types = {R::Bad, R::Station, R::BacksightOrBearing, R::AngleShot, R::SlopeShot,
                                    R::Skipped, R::CoordShot, R::ObservedCoordShot, R::Note, R::Skipped,
                                    R::Skipped, R::CoordShot}};

// The lines of one record of those layouts, one call per kind of record.
class JobRecordLines {
 public:
  JobRecordLines(const RecordView& r, const JobLayout& at, KeywordLineBuilder& b, LineOutput& lines)
      : r_(r), at_(at), b_(b), lines_(lines), name_(r.Text(1, at.nameWidth)),
        code_(r.Text(at.codeAt, at.codeWidth)) {}

  void Station() {
    Head("STA", at_.instrumentHeight);
    Coordinates("XYZ");
  }
  void Backsight() {
    lines_.Add(b_.Start("BS").SafeText(name_).Metres(r_.F64(at_.targetHeight)).Line());
    Observation();
  }
  void Bearing() {
    lines_.Add(
        b_.Start("BKB").SafeText(name_).Seconds(r_.F64(at_.horizontal)).Seconds(r_.F64(at_.vertical)).Line());
  }
  void AngleShot() {
    Head("SA", at_.targetHeight);
    lines_.Add(b_.Start("HV").Seconds(r_.F64(at_.horizontal)).Seconds(r_.F64(at_.vertical)).Line());
  }
  void SlopeShot() {
    Head("SD", at_.targetHeight);
    Observation();
  }
  void CoordShot(bool observed) {
    Head("SC", at_.targetHeight);
    if (observed) Observation();
    Coordinates("ENZ");
  }
  // The note's text runs from the name to the end of the record.
  void Note() { lines_.Add(b_.Start("NOTE").SafeText(r_.Text(1, at_.noteWidth)).Line()); }
  bool HasDistance() const { return r_.F64(at_.slopeDistance) != 0; }

 private:
  void Head(std::string_view keyword, std::size_t heightAt) {
    lines_.Add(b_.Start(keyword).SafeText(name_).Metres(r_.F64(heightAt)).SafeText(code_).Line());
  }
  void Observation() {
    lines_.Add(b_.Start("HVD")
                   .Seconds(r_.F64(at_.horizontal))
                   .Seconds(r_.F64(at_.vertical))
                   .Metres(r_.F64(at_.slopeDistance))
                   .Line());
  }
  void Coordinates(std::string_view keyword) {
    lines_.Add(
        b_.Start(keyword).Metres(r_.F64(at_.east)).Metres(r_.F64(at_.north)).Metres(r_.F64(at_.elevation)).Line());
  }

  const RecordView& r_;
  const JobLayout& at_;
  KeywordLineBuilder& b_;
  LineOutput& lines_;
  std::string_view name_, code_;
};

std::int32_t HandleJobRecord(const RecordView& r, const JobLayout& layout, KeywordLineBuilder& b, LineOutput& lines) {
  const int type = r.I8(0);
  const bool listed = type >= 0 && static_cast<std::size_t>(type) < layout.types.size();
  const JobRecord kind = listed ? layout.types[static_cast<std::size_t>(type)] : R::Bad;
  JobRecordLines record(r, layout, b, lines);
  switch (kind) {
    case R::Bad: return kBinaryBadRecordType;
    case R::Skipped: break;
    case R::Station: record.Station(); break;
    case R::Backsight: record.Backsight(); break;
    case R::BacksightOrBearing:
      if (record.HasDistance()) record.Backsight();
      else record.Bearing();
      break;
    case R::Bearing: record.Bearing(); break;
    case R::AngleShot: record.AngleShot(); break;
    case R::SlopeShot: record.SlopeShot(); break;
    case R::CoordShot: record.CoordShot(false); break;
    case R::ObservedCoordShot: record.CoordShot(true); break;
    case R::Note: record.Note(); break;
  }
  return kBinaryOk;
}

std::int32_t ReadJobLayout(const BinaryInput& in, const JobLayout& layout, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, layout.size); rc != kBinaryOk) return rc;
  KeywordLineBuilder line;
  return WalkRecords(in, layout.size, layout.size,
                     [&](const RecordView& r) { return HandleJobRecord(r, layout, line, lines); });
}

constexpr std::size_t kJ136HeaderSize = 48;
constexpr std::size_t kJ136Size = 136;

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

std::int32_t ReadLayoutD96(const BinaryInput& in, LineOutput& lines) { return ReadJobLayout(in, kD96, lines); }

std::int32_t ReadLayoutJ112(const BinaryInput& in, LineOutput& lines) { return ReadJobLayout(in, kJ112, lines); }

std::int32_t ReadLayoutJ136(const BinaryInput& in, LineOutput& lines) {
  if (const std::int32_t rc = CheckHeader(in, kJ136HeaderSize); rc != kBinaryOk) return rc;
  KeywordLineBuilder line;
  return WalkRecords(in, kJ136HeaderSize, kJ136Size, [&](const RecordView& r) { return HandleJ136(r, line, lines); });
}

}  // namespace theolink
