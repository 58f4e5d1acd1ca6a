#include "records/record_formatter.h"

#include <gtest/gtest.h>

#include <limits>

#include "records/value_forms.h"

namespace theolink {
namespace {

MeasureRecord SlopeShot(std::string_view name, std::string_view code, double th, double h, double v, double sd) {
  MeasureRecord r;
  r.Kind = KindSlopeShot;
  r.SlopeShot = SlopeShotBody{};
  r.SlopeShot.Name = name;
  r.SlopeShot.Code = code;
  r.SlopeShot.TargetHeight = th;
  r.SlopeShot.HorizontalAngle = h;
  r.SlopeShot.VerticalAngle = v;
  r.SlopeShot.SlopeDistance = sd;
  return r;
}

TEST(FormatRecord, SlopeShotInInstrumentAndOtherForms) {
  const MeasureRecord r = SlopeShot("P7", "WALL", 1.5, 90.0, 88.5, 25.123);
  EXPECT_EQ(FormatRecordText(r), "SD      P7,1.5000,WALL|HVD     324000,318600,25.1230");
  EXPECT_EQ(FormatRecord(r, AngleDms, DistanceUsFoot), "SD      P7,4.9212,WALL|HVD     90.0000,88.3000,82.4244");
  EXPECT_EQ(FormatRecord(r, AngleGon, DistanceMetre), "SD      P7,1.5000,WALL|HVD     100.0000,98.3333,25.1230");
}

TEST(FormatRecord, EmptyNameIsNonameAndEmptyCodeAnEmptyField) {
  MeasureRecord r;
  r.Kind = KindAngleShot;
  r.AngleShot = AngleShotBody{};
  EXPECT_EQ(FormatRecordText(r), "SA      NONAME,0.0000,|HV      0,0");
}

TEST(FormatRecord, StationAndBearing) {
  MeasureRecord r;
  r.Kind = KindStation;
  r.Station = StationBody{};
  r.Station.Name.Assign("ST1");
  r.Station.Code.Assign("STN");
  r.Station.InstrumentHeight = 1.552;
  r.Station.X = 52314.1234;
  r.Station.Y = -18422.5;
  r.Station.Z = 0.00005;
  EXPECT_EQ(FormatRecordText(r), "STA     ST1,1.5520,STN|XYZ     52314.1234,-18422.5000,0.0001");

  r.Kind = KindBearing;
  r.Bearing = BearingBody{};
  r.Bearing.Name.Assign("B");
  r.Bearing.FirstAngle = 0;
  r.Bearing.SecondAngle = -90.5;
  EXPECT_EQ(FormatRecordText(r), "BKB     B,0,-325800");
}

TEST(FormatRecord, BacksightWritesItsPointOnlyWhenFlagged) {
  MeasureRecord r;
  r.Kind = KindBacksight;
  r.Backsight = BacksightBody{};
  r.Backsight.Name.Assign("ST2");
  r.Backsight.TargetHeight = 1.6;
  r.Backsight.HorizontalAngle = 0;
  r.Backsight.VerticalAngle = 90;
  r.Backsight.SlopeDistance = 84.231;
  r.Backsight.BacksightNorth = 200;
  r.Backsight.BacksightEast = 100;
  r.Backsight.BacksightElevation = 3;
  EXPECT_EQ(FormatRecordText(r), "BS      ST2,1.6000|HVD     0,324000,84.2310");
  r.Backsight.HasBacksightPoint = 1;
  EXPECT_EQ(FormatRecordText(r),
            "BS      ST2,1.6000|HVD     0,324000,84.2310|SC      ST2,1.6000,BSS|ENZ     100.0000,200.0000,3.0000");
}

TEST(FormatRecord, CoordinateShotWritesEastFirstAndObservationBeforeIt) {
  MeasureRecord r;
  r.Kind = KindCoordShot;
  r.CoordShot = CoordShotBody{};
  r.CoordShot.Name.Assign("P4");
  r.CoordShot.TargetHeight = 1.3;
  r.CoordShot.North = 2;
  r.CoordShot.East = 1;
  r.CoordShot.Elevation = 3;
  r.CoordShot.HorizontalAngle = 1;
  EXPECT_EQ(FormatRecordText(r), "SC      P4,1.3000,|ENZ     1.0000,2.0000,3.0000");
  r.CoordShot.HasObservation = 1;
  EXPECT_EQ(FormatRecordText(r), "SC      P4,1.3000,|HVD     3600,0,0.0000|ENZ     1.0000,2.0000,3.0000");
}

TEST(FormatRecord, NoteTextIsWrittenUnchanged) {
  MeasureRecord r;
  r.Kind = KindNote;
  r.Note = NoteBody{};
  r.Note.Text.Assign("crew A; 12C | wet");
  EXPECT_EQ(FormatRecordText(r), "NOTE    crew A; 12C | wet");
}

TEST(FormatRecord, UnknownKindGivesTheErrorText) {
  MeasureRecord r;
  for (std::int32_t kind : {0, 8, -1, 1000}) {
    r.Kind = kind;
    EXPECT_EQ(FormatRecordText(r), "wrong type in record item");
  }
}

TEST(FormatRecord, NonFiniteAndHugeValuesAreWrittenSafely) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatRecordText(SlopeShot("P", "", nan, inf, -inf, nan)), "SD      P,nan,|HVD     inf,-inf,nan");
  const std::string huge = FormatRecord(SlopeShot("P", "", 1e300, 1e300, -1e300, 1e300), AngleDms, DistanceIntFoot);
  EXPECT_GT(huge.size(), 1200u);
  EXPECT_EQ(huge.find("SD      P,3280"), 0u);
}

TEST(SplitRecordText, CutsAtBarsAndTrims) {
  LineList lines = {"x"};
  SplitRecordText("SD      P7,1.5000,W  |  HVD     1,2,3\r", lines);
  SplitRecordText("BKB     B,0,0", lines);
  SplitRecordText("", lines);
  EXPECT_EQ(lines, (LineList{"x", "SD      P7,1.5000,W", "HVD     1,2,3", "BKB     B,0,0", ""}));
}

TEST(SplitRecordText, NoteStaysOneLineWithItsBars) {
  LineList lines;
  SplitRecordText("NOTE    a|b|c ", lines);
  EXPECT_EQ(lines, LineList{"NOTE    a|b|c"});
}

}  // namespace
}  // namespace theolink
