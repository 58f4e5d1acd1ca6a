#include "app/station_check_lines.h"

#include <algorithm>
#include <cmath>

#include "files/text_encoding.h"
#include "app/text_table.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr const char* kIndent = "  ";

// The name a record carries, as the terminal and the window take it.
std::string NameOf(const MeasureRecord& r) {
  NameText name;
  switch (r.Kind) {
    case KindStation: name = r.Station.Name; break;
    case KindBacksight: name = r.Backsight.Name; break;
    case KindSlopeShot: name = r.SlopeShot.Name; break;
    case KindCoordShot: name = r.CoordShot.Name; break;
    default: break;
  }
  const std::string shown = ShownName(name);
  return IsValidUtf8(shown) ? shown : GbkToUtf8(shown);
}

class Writer {
 public:
  Writer(const std::vector<MeasureRecord>& records, const Settings& settings, int language)
      : records_(records),
        language_(language),
        angleForm_(AngleFormCode(settings)),
        distanceForm_(DistanceFormCode(settings)),
        northFirst_(IsNorthFirst(settings)) {}

  std::string Length(double metres) const { return WithoutNegativeZero(FormatDistance(metres, distanceForm_)); }
  std::string Angle(double degrees) const { return WithoutNegativeZero(FormatAngle(degrees, angleForm_)); }
  std::string Name(std::size_t record) const { return NameOf(records_[record]); }
  std::string_view Text(TextId id) const { return PickText(id, language_); }

  void Line(TextId id, std::initializer_list<std::string_view> values, bool indented = true) {
    lines_.push_back((indented ? kIndent : "") + FillText(Text(id), values));
  }

  void Heading(const Settings& settings) {
    std::vector<std::string> angles, distances;
    FillUnitNames(UnitKind::Angle, language_ == 0 ? 0 : 1, angles);
    FillUnitNames(UnitKind::Distance, language_ == 0 ? 0 : 1, distances);
    // K and the grid scale as the settings hold them: the backsight distances depend on them.
    Line(TextId::CheckHeading,
         {distances[static_cast<std::size_t>(distanceForm_ - 1)], angles[static_cast<std::size_t>(angleForm_ - 1)],
          settings.KOption, settings.GridScale, Length(settings.LengthTolerance),
          Angle(settings.AngleTolerance / 3600.0)},
         false);
  }

  void Station(const StationCheck& check) {
    Line(TextId::CheckStation, {Name(check.Record)}, false);
    for (const Orientation& o : check.Orientations) {
      const std::string_view face = Text(o.FaceTwo ? TextId::FaceTwoName : TextId::FaceOneName);
      if (o.Oriented)
        Line(TextId::CheckOrientation,
             {Name(o.Record), face, Angle(o.BacksightBearing), Angle(o.AngleRead), Angle(o.Correction)});
      else
        Line(TextId::CheckNotOriented, {Name(o.Record), face});
    }
    for (const Orientation& o : check.Orientations)
      if (o.Measured)
        Line(TextId::CheckBacksightDistance, {Name(o.Record), Length(o.MeasuredDistance), Length(o.ComputedDistance),
                                              Length(o.MeasuredDistance - o.ComputedDistance)});
    Residuals(check);
    for (const FacePair& pair : check.Faces) {
      if (pair.HasDistance)
        Line(TextId::CheckFaces, {Name(pair.FaceTwo), Angle(pair.Collimation), Angle(pair.Index),
                                  Length(pair.DistanceDifference)});
      else
        Line(TextId::CheckFacesNoDistance, {Name(pair.FaceTwo), Angle(pair.Collimation), Angle(pair.Index)});
    }
    for (const CheckWarning& w : check.Warnings) {
      const bool angle = w.What == CheckItem::Collimation || w.What == CheckItem::Index;
      Line(TextId::CheckWarning, {Name(w.Record), Text(ItemText(w.What)), angle ? Angle(w.Value) : Length(w.Value),
                                  angle ? Angle(w.Limit) : Length(w.Limit)});
    }
  }

  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  static TextId ItemText(CheckItem item) {
    switch (item) {
      case CheckItem::Residual: return TextId::CheckItemResidual;
      case CheckItem::BacksightDistance: return TextId::CheckItemBacksightDistance;
      case CheckItem::Collimation: return TextId::CheckItemCollimation;
      case CheckItem::Index: return TextId::CheckItemIndex;
      case CheckItem::FaceDistance: return TextId::CheckItemFaceDistance;
    }
    return TextId::CheckItemResidual;
  }

  // Reduced and unreduced SC shots together, in list order.
  void Residuals(const StationCheck& check) {
    auto shot = check.Residuals.begin();
    auto skipped = check.NotReduced.begin();
    while (shot != check.Residuals.end() || skipped != check.NotReduced.end()) {
      if (skipped == check.NotReduced.end() || (shot != check.Residuals.end() && shot->Record < skipped->Record)) {
        const double n = shot->ResidualNorth, e = shot->ResidualEast;
        const double largest = std::max({std::fabs(n), std::fabs(e), std::fabs(shot->ResidualElevation)});
        Line(TextId::CheckResidual, {Name(shot->Record), northFirst_ ? "dN" : "dE", Length(northFirst_ ? n : e),
                                     northFirst_ ? "dE" : "dN", Length(northFirst_ ? e : n),
                                     Length(shot->ResidualElevation), Length(largest)});
        ++shot;
      } else {
        Line(skipped->Why == ShotSkip::NoDistance ? TextId::CheckNoDistanceShot : TextId::CheckNotOrientedShot,
             {Name(skipped->Record)});
        ++skipped;
      }
    }
  }

  const std::vector<MeasureRecord>& records_;
  int language_;
  int angleForm_, distanceForm_;
  bool northFirst_;
  std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> StationCheckLines(const std::vector<MeasureRecord>& records,
                                           const std::vector<StationCheck>& checks, const Settings& settings,
                                           int language) {
  Writer writer(records, settings, language);
  writer.Heading(settings);
  if (checks.empty()) writer.Line(TextId::CheckNoStation, {}, false);
  for (const StationCheck& check : checks) writer.Station(check);
  return writer.Take();
}

}  // namespace theolink
