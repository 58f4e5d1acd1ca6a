#include <gtest/gtest.h>

#include "files/csv_rows.h"
#include "files/data_views.h"
#include "files/line_loaders.h"
#include "files/save_writers.h"
#include "test_support.h"

namespace theolink {
namespace {

TEST(Views, CoordGridFollowsOrderAndUnit) {
  Settings enz;
  enz.CoordOrder = 1;
  enz.DistanceUnit = 1;
  const auto header = GridHeaderIds(DataKind::Coord, enz);
  ASSERT_EQ(header.size(), 6u);
  EXPECT_EQ(header[2], TextId::HeaderEast);
  EXPECT_EQ(header[3], TextId::HeaderNorth);
  const auto row = CoordGridRow(test::Point("", "", 1000, 2, 3), 7, enz);
  EXPECT_EQ(row, (std::vector<std::string>{"#7", "NONAME", "6.5617", "3280.8333", "9.8425", ""}));
  EXPECT_EQ(GridHeaderIds(DataKind::Code, enz), (std::vector<TextId>{TextId::HeaderPointNum, TextId::HeaderCode}));
}

TEST(Views, TextViewShowsShotsAsScAndSkipsBearings) {
  WorkingData d;
  d.JobName = "J";
  d.InstrumentName = "I";
  MeasureRecord bkb;
  bkb.Kind = KindBearing;
  MeasureRecord sa;
  sa.Kind = KindAngleShot;
  sa.AngleShot = AngleShotBody{test::N("A"), test::N(""), 1, 90, 45};
  d.MeasurementList = {test::Station("S1", "", 1, 2, 3), bkb, sa, test::Backsight("B", 0, 90, 10)};
  EXPECT_EQ(MeasureTextLines(d, Settings{}),
            (LineList{"JOB     J", "INST    I", "STA     S1,1.5000,", "XYZ     1.0000,2.0000,3.0000",
                      "SC      A,1.0000,", "HVD     90.0000,45.0000,", "SC      B,1.6000",
                      "HVD     0.0000,90.0000,10.0000"}));
  EXPECT_EQ(ShownCount(d), 4u) << "the bearing counts though it is not shown";
  EXPECT_TRUE(MeasureTextLines(WorkingData{}, Settings{}).empty());
  WorkingData points;
  points.DataKind = DataKind::Coord;
  EXPECT_EQ(ShownCount(points), std::nullopt);
}

// Everything the writers produce opens again as the same data.
TEST(RoundTrip, JobFileGivesBackTheJob) {
  WorkingData d;
  const LineList source = {"JOB     DEMO", "INST    TS", "STA     S1,1.5000,C", "XYZ     1.0000,2.0000,3.0000",
                           "BS      BK,1.6000", "HVD     0,324000,120.5000", "SC      BK,1.6000,BSS",
                           "ENZ     10.0000,20.0000,3.0000", "SC      P8,1.3000,T", "HVD     1,2,3.0000",
                           "ENZ     1.2345,2.3456,3.4567", "SA      P9,1.2000,", "HV      648000,324000",
                           "BKB     B,0,1234567", "NOTE    a;b"};
  ASSERT_TRUE(LoadMeasureLines(d, source).Empty());
  MeasureRecord note;
  note.Kind = KindNote;
  note.Note.Text = NoteText(std::string_view("left|right"));
  d.MeasurementList.push_back(note);
  LineList written;
  WriteJobFile(d, written);
  ASSERT_EQ(written.size(), source.size() + 1);
  EXPECT_EQ(LineList(written.begin(), written.end() - 1), source);
  EXPECT_EQ(written.back(), "NOTE    left|right");
  WorkingData again;
  ASSERT_TRUE(IsKeywordText(written));
  ASSERT_TRUE(LoadMeasureLines(again, written).Empty());
  EXPECT_EQ(again.MeasurementList.size(), d.MeasurementList.size());
  EXPECT_EQ(again.MeasurementList[1].Backsight.HasBacksightPoint, 1);
  EXPECT_EQ(again.MeasurementList.back().Note.Text.View(), "left|right");
}

TEST(RoundTrip, CoordinateTextInFeetComesBackWithinRounding) {
  WorkingData d;
  d.PointList = {test::Point("P1", "T1", 20.5, 10.5, 3), test::Point("P2", "", -1234.56789, 98765.4321, -0.00004),
                 test::Point("P 3", "a,\"b\"", 1, 2, 3)};
  for (int unit : {0, 1, 2}) {
    Settings s;
    s.DistanceUnit = unit;
    // Half a unit of the fourth decimal, in metres.
    const double tolerance = 0.00005 * (unit == 0 ? 1.0 : 0.3049) + 1e-12;
    for (int layout : {CoordLayoutCass, CoordLayoutGts7}) {
      LineList lines;
      WriteCoordLines(d, lines, layout, s);
      WorkingData again;
      ASSERT_EQ(ClassifyTextLines(again, lines, s), std::nullopt);
      ASSERT_EQ(again.DataKind, DataKind::Coord);
      ASSERT_EQ(again.PointList.size(), 3u);
      for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(again.PointList[i].Name, d.PointList[i].Name);
        EXPECT_EQ(again.PointList[i].Code, d.PointList[i].Code);
        EXPECT_NEAR(again.PointList[i].North, d.PointList[i].North, tolerance);
        EXPECT_NEAR(again.PointList[i].East, d.PointList[i].East, tolerance);
        EXPECT_NEAR(again.PointList[i].Elevation, d.PointList[i].Elevation, tolerance);
      }
    }
  }
}

TEST(RoundTrip, CodesComeBackUnchanged) {
  WorkingData d;
  ASSERT_TRUE(LoadCodeLines(d, {"T1", "", "WALL  "}));
  LineList lines;
  WriteCodeLines(d, lines);
  EXPECT_EQ(lines, (LineList{"T1", "", "WALL  "}));
  WorkingData again;
  ASSERT_EQ(ClassifyTextLines(again, lines, Settings{}), std::nullopt);
  EXPECT_EQ(again.DataKind, DataKind::Code);
  EXPECT_EQ(again.CodeList.size(), 3u);
}

}  // namespace
}  // namespace theolink
