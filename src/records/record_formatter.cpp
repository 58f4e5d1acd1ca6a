#include "records/record_formatter.h"

#include "records/default_names.h"
#include "records/field_appender.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr auto npos = std::string_view::npos;

// Builds one record text line by line at the end of a text; fields after the first are
// joined by ','.
class RecordWriter final : public FieldAppender<RecordWriter> {
 public:
  RecordWriter(std::string& text, int angleForm, int distanceForm)
      : FieldAppender(text, angleForm, distanceForm), start_(text.size()) {}

  // Starts a line: the keyword filled with blanks to 8 characters ("%-8s").
  RecordWriter& Line(std::string_view keyword) {
    if (line_.size() > start_) line_ += '|';
    line_ += keyword;
    if (keyword.size() < 8) line_.append(8 - keyword.size(), ' ');
    Restart();
    return *this;
  }
  RecordWriter& Name(const NameText& name) { return Text(name.Empty() ? kNoName : name.View()); }
  // The first line of a station or shot: keyword, name, height, code.
  RecordWriter& Head(std::string_view keyword, const NameText& name, double height, const NameText& code) {
    return Line(keyword).Name(name).Distance(height).Text(code.View());
  }
  RecordWriter& Hvd(double horizontal, double vertical, double slopeDistance) {
    return Line("HVD").Angle(horizontal).Angle(vertical).Distance(slopeDistance);
  }

 private:
  std::size_t start_;
};

bool IsNoteLine(std::string_view text) { return LineKeyword(text) == "NOTE"; }

}  // namespace

std::string FormatRecord(const MeasureRecord& record, int angleForm, int distanceForm) {
  std::string text;
  text.reserve(96);
  AppendRecord(text, record, angleForm, distanceForm);
  return text;
}

void AppendRecord(std::string& text, const MeasureRecord& record, int angleForm, int distanceForm) {
  RecordWriter w(text, angleForm, distanceForm);
  switch (record.Kind) {
    case KindStation: {
      const StationBody& b = record.Station;
      w.Head("STA", b.Name, b.InstrumentHeight, b.Code);
      w.Line("XYZ").Distance(b.X).Distance(b.Y).Distance(b.Z);
      break;
    }
    case KindBacksight: {
      const BacksightBody& b = record.Backsight;
      w.Line("BS").Name(b.Name).Distance(b.TargetHeight);
      w.Hvd(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
      if (b.HasBacksightPoint != 0) {
        w.Line("SC").Name(b.Name).Distance(b.TargetHeight).Text("BSS");
        w.Line("ENZ").Distance(b.BacksightEast).Distance(b.BacksightNorth).Distance(b.BacksightElevation);
      }
      break;
    }
    case KindBearing: {
      const BearingBody& b = record.Bearing;
      w.Line("BKB").Name(b.Name).Angle(b.FirstAngle).Angle(b.SecondAngle);
      break;
    }
    case KindAngleShot: {
      const AngleShotBody& b = record.AngleShot;
      w.Head("SA", b.Name, b.TargetHeight, b.Code);
      w.Line("HV").Angle(b.HorizontalAngle).Angle(b.VerticalAngle);
      break;
    }
    case KindSlopeShot: {
      const SlopeShotBody& b = record.SlopeShot;
      w.Head("SD", b.Name, b.TargetHeight, b.Code);
      w.Hvd(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
      break;
    }
    case KindCoordShot: {
      const CoordShotBody& b = record.CoordShot;
      w.Head("SC", b.Name, b.TargetHeight, b.Code);
      if (b.HasObservation != 0) w.Hvd(b.HorizontalAngle, b.VerticalAngle, b.SlopeDistance);
      w.Line("ENZ").Distance(b.East).Distance(b.North).Distance(b.Elevation);
      break;
    }
    case KindNote:
      w.Line("NOTE").Text(record.Note.Text.View());
      break;
    default:
      text += "wrong type in record item";
      break;
  }
}

std::string FormatRecordText(const MeasureRecord& record) {
  return FormatRecord(record, AngleSeconds, DistanceMetre);
}

namespace {

template <class Lines>
void SplitInto(std::string_view recordText, Lines& lines) {
  // A NOTE is one line whatever it holds: cutting a '|' in its text would write a line
  // that no longer reads back.
  if (IsNoteLine(recordText)) {
    lines.emplace_back(Trim(recordText));
    return;
  }
  for (;;) {
    const std::size_t bar = recordText.find('|');
    lines.emplace_back(Trim(recordText.substr(0, bar)));
    if (bar == npos) return;
    recordText.remove_prefix(bar + 1);
  }
}

}  // namespace

void SplitRecordText(std::string_view recordText, LineList& lines) { SplitInto(recordText, lines); }

void SplitRecordText(std::string_view recordText, LineViews& lines) { SplitInto(recordText, lines); }

}  // namespace theolink
