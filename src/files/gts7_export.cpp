#include "files/gts7_export.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "files/slope_reduction.h"
#include "records/ascii_case.h"
#include "records/keyword_line.h"
#include "records/record_formatter.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

// The record as the observations-only mode writes it; false when it is left out.
bool ObservationsOnly(MeasureRecord& record) {
  if (record.Kind == KindCoordShot) {
    if (record.CoordShot.HasObservation == 0) return false;
    const CoordShotBody shot = record.CoordShot;
    MeasureRecord slope;
    slope.Kind = KindSlopeShot;
    slope.SlopeShot = SlopeShotBody{shot.Name, shot.Code, shot.TargetHeight, shot.HorizontalAngle,
                                    shot.VerticalAngle, shot.SlopeDistance};
    record = slope;
  } else if (record.Kind == KindBacksight) {
    record.Backsight.HasBacksightPoint = 0;
  }
  return true;
}

class HdWriter {
 public:
  HdWriter(int angleForm, int distanceForm, double scale, double k)
      : angleForm_(angleForm), distanceForm_(distanceForm), scale_(scale), k_(k) {}

  std::string RecordText(const MeasureRecord& r) const {
    switch (r.Kind) {
      case KindStation: {
        const StationBody& b = r.Station;
        return KeywordLine("STN", {ShownName(b.Name), D(b.InstrumentHeight), b.Code.Str()}) + "|" +
               KeywordLine("XYZ", {D(b.X), D(b.Y), D(b.Z)});
      }
      case KindBacksight: {
        const BacksightBody& b = r.Backsight;
        std::string text = KeywordLine("BS", {ShownName(b.Name), D(b.TargetHeight)}) + "|" +
                           HdLine(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
        if (b.HasBacksightPoint != 0)
          text += "|" + KeywordLine("SS", {ShownName(b.Name), D(b.TargetHeight), "BSS"}) + "|" +
                  KeywordLine("XYZ", {D(b.BacksightEast), D(b.BacksightNorth), D(b.BacksightElevation)});
        return text;
      }
      case KindBearing: {
        const BearingBody& b = r.Bearing;
        return KeywordLine("BKB", {ShownName(b.Name), A(b.FirstAngle), A(b.SecondAngle)});
      }
      case KindAngleShot: {
        const AngleShotBody& b = r.AngleShot;
        return KeywordLine("SS", {ShownName(b.Name), D(b.TargetHeight), b.Code.Str()}) + "|" +
               KeywordLine("HV", {A(b.HorizontalAngle), A(b.VerticalAngle)});
      }
      case KindSlopeShot: {
        const SlopeShotBody& b = r.SlopeShot;
        return KeywordLine("SS", {ShownName(b.Name), D(b.TargetHeight), b.Code.Str()}) + "|" +
               HdLine(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
      }
      case KindCoordShot: {
        const CoordShotBody& b = r.CoordShot;
        std::string text = KeywordLine("SS", {ShownName(b.Name), D(b.TargetHeight), b.Code.Str()});
        if (b.HasObservation != 0) text += "|" + HdLine(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
        return text + "|" + KeywordLine("XYZ", {D(b.East), D(b.North), D(b.Elevation)});
      }
      default:
        return {};
    }
  }

 private:
  std::string A(double x) const { return FormatAngle(x, angleForm_); }
  std::string D(double x) const { return FormatDistance(x, distanceForm_); }

  std::string HdLine(double horizontal, double zenith, double slope) const {
    const ReducedSlope reduced = ReduceSlope(slope, zenith, k_, scale_);
    return KeywordLine("HD", {A(horizontal), D(reduced.Horizontal), D(reduced.Height)});
  }

  int angleForm_, distanceForm_;
  double scale_, k_;
};

}  // namespace

std::string MapGts7Keywords(const std::string& recordText) {
  std::string mapped;
  AppendGts7Keywords(mapped, recordText);
  return mapped;
}

void AppendGts7Keywords(std::string& out, std::string_view recordText) {
  if (recordText.size() <= 8) {
    out += recordText;
    return;
  }
  const std::string_view keyword = TrimEnd(recordText.substr(0, 8));
  // The GTS-7 keyword of each record kind, and the replacements its other lines take.
  struct Mapping {
    std::string_view Keyword, Head;
    bool Hvd, Sc, Enz;
  };
  static constexpr Mapping kMappings[] = {
      {"STA", "STN", false, false, false}, {"SA", "SS", false, false, false}, {"BS", "BS", true, true, true},
      {"SD", "SS", true, false, false},    {"SC", "SS", true, false, true},
  };
  const auto mapping = std::find_if(std::begin(kMappings), std::end(kMappings),
                                    [&](const Mapping& m) { return m.Keyword == keyword; });
  if (mapping == std::end(kMappings)) {
    out += recordText;
    return;
  }
  const std::string_view head = mapping->Head;
  const bool hvd = mapping->Hvd, sc = mapping->Sc, enz = mapping->Enz;
  out += head;
  out.append(8 - head.size(), ' ');
  // The three patterns share no letter, so one pass gives what replacing each in turn over
  // the whole text gives.
  const std::string_view rest = recordText.substr(8);
  // Most bytes start no pattern: one table look settles them.
  static constexpr auto kStarts = [] {
    std::array<bool, 256> starts{};
    starts['H'] = starts['S'] = starts['E'] = true;
    return starts;
  }();
  std::size_t from = 0;  // the first byte not yet copied
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (!kStarts[static_cast<unsigned char>(rest[i])]) continue;
    std::string_view to;
    if (hvd && rest[i] == 'H' && rest.substr(i, 3) == "HVD") {
      to = "SD ";
    } else if (sc && rest[i] == 'S' && rest.substr(i, 2) == "SC") {
      to = "SS";
    } else if (enz && rest[i] == 'E' && rest.substr(i, 3) == "ENZ") {
      to = "XYZ";
    } else {
      continue;
    }
    out += rest.substr(from, i - from);
    out += to;  // as long as what it replaces
    i += to.size() - 1;
    from = i + 1;
  }
  out += rest.substr(from);
}

bool IsGts7FileName(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::string_view base = std::string_view(fileName).substr(slash == std::string::npos ? 0 : slash + 1);
  if (base.size() <= 4) return false;
  return LowerAscii(base.substr(base.size() - 4)) == ".gt7";
}

std::optional<TextId> Gts7Refusal(const std::string& fileName, const Settings& settings) {
  // A name the instrument's loader would not take used to give an empty file and no word.
  if (!IsGts7FileName(fileName)) return TextId::Gts7NameNotGt7;
  if (AngleFormCode(settings) == AngleMil) return TextId::MilNotSupported;
  return std::nullopt;
}

std::optional<TextId> ExportGts7(const WorkingData& data, LineOut lines, const std::string& fileName, Gts7Mode mode,
                                 bool hdMode, const Settings& settings) {
  if (const auto refused = Gts7Refusal(fileName, settings)) return refused;
  WriteGts7(data, lines, mode, GridScaleValue(settings), KValue(settings), hdMode, settings);
  return std::nullopt;
}

void WriteGts7(const WorkingData& data, LineOut lines, Gts7Mode mode, double scale, double k, bool hdMode,
               const Settings& settings) {
  if (data.MeasurementList.empty() && data.JobName.empty() && data.InstrumentName.empty()) return;
  const Gts7Writer writer(mode, scale, k, hdMode, settings);
  writer.Header(data.JobName, data.InstrumentName, lines);
  writer.Records(data.MeasurementList, lines);
}

Gts7Writer::Gts7Writer(Gts7Mode mode, double scale, double k, bool hdMode, const Settings& settings)
    : mode_(mode),
      hdMode_(hdMode),
      angleForm_(AngleFormCode(settings)),
      distanceForm_(DistanceFormCode(settings)),
      scale_(scale),
      k_(k) {}

void Gts7Writer::Header(const std::string& jobName, const std::string& instrumentName, LineOut lines) const {
  const char* distanceLetter = distanceForm_ == DistanceMetre ? "M" : "F";
  const char* angleLetter = angleForm_ == AngleGon ? "G" : "D";
  lines.Add(KeywordLine("JOB", {jobName, ""}));
  lines.Add(KeywordLine("INST", {instrumentName}));
  lines.Add(KeywordLine("UNITS", {distanceLetter, angleLetter}));
}

void Gts7Writer::Records(std::span<const MeasureRecord> records, LineOut lines) const {
  LineViews pieces;  // views into each record's text
  std::string formatted, text;  // reused for every record
  const HdWriter hd(angleForm_, distanceForm_, scale_, k_);
  for (MeasureRecord record : records) {
    if (record.Kind == KindNote) continue;
    if (mode_ == Gts7Mode::ObservationsOnly && !ObservationsOnly(record)) continue;
    if (hdMode_) {
      text = hd.RecordText(record);
    } else {
      formatted.clear();
      AppendRecord(formatted, record, angleForm_, distanceForm_);
      text.clear();
      AppendGts7Keywords(text, formatted);
    }
    if (text.empty()) continue;
    pieces.clear();
    SplitRecordText(text, pieces);
    for (const std::string_view piece : pieces) lines.Add(piece);
  }
}

}  // namespace theolink
