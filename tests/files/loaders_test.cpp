#include "files/line_loaders.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace theolink {
namespace {

using test::Sentinel;

Settings UsFeet() {
  Settings s;
  s.DistanceUnit = 1;
  return s;
}

void ExpectUntouched(const WorkingData& d) {
  ASSERT_EQ(d.PointList.size(), 1u);
  EXPECT_EQ(d.PointList[0].Name.View(), "KEEP");
  EXPECT_TRUE(d.MeasurementList.empty());
  EXPECT_EQ(d.DataKind, DataKind::Coord);
}

TEST(MeasureLoader, HeaderGivesJobAndInstrumentNames) {
  WorkingData d = Sentinel();
  // Older work files hold the former spelling of the default instrument text: kept as it is.
  const LineList lines = {"JOB     A1", "INST    UNKNOW", "STA     S1,1.5000,", "XYZ     1.0000,2.0000,3.0000"};
  EXPECT_TRUE(LoadMeasureLines(d, lines).Empty());
  EXPECT_EQ(d.JobName, "A1");
  EXPECT_EQ(d.InstrumentName, "UNKNOW");
  ASSERT_EQ(d.MeasurementList.size(), 1u);
  EXPECT_EQ(d.MeasurementList[0].Kind, KindStation);
  EXPECT_TRUE(d.PointList.empty()) << "a load empties the other lists";
}

TEST(MeasureLoader, WithoutHeaderEveryLineIsARecord) {
  WorkingData d;
  const LineList lines = {"SD      P1,1.5000,C", "HVD     324000,318600,25.1230"};
  EXPECT_TRUE(LoadMeasureLines(d, lines).Empty());
  EXPECT_EQ(d.JobName, "NONAME");
  EXPECT_EQ(d.InstrumentName, "UNKNOWN");
  ASSERT_EQ(d.MeasurementList.size(), 1u);
  EXPECT_DOUBLE_EQ(d.MeasurementList[0].SlopeShot.HorizontalAngle, 90.0);
}

TEST(MeasureLoader, FailuresGiveTheirTextAndChangeNothing) {
  WorkingData d = Sentinel();
  EXPECT_EQ(LoadMeasureLines(d, {"JOB     A"}).Text, "ERROR: 2 lines expected at least");
  EXPECT_EQ(LoadMeasureLines(d, {"JOB     A", "UNITS   M,D"}).Text, "ERROR: preprocess lines failed");
  EXPECT_EQ(LoadMeasureLines(d, {"JOB     A", "INST    B", "SD      P1,x,C", "HVD     1,2,3"}).Text,
            "ERROR: load record item failed");
  ExpectUntouched(d);
  EXPECT_FALSE(TryLoadMeasureLines(d, {}));
  ExpectUntouched(d);
}

TEST(MergeShots, CoordShotTakesTheFollowingSlopeShotOfTheSameName) {
  std::vector<MeasureRecord> list = {test::CoordShot("P8", "T", 20, 10, 1), test::SlopeShot("P8", "T", 45, 91, 22.361),
                                     test::CoordShot("P9", "", 1, 2, 3)};
  MergeShotRecords(list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].CoordShot.HasObservation, 1);
  EXPECT_DOUBLE_EQ(list[0].CoordShot.SlopeDistance, 22.361);
  EXPECT_DOUBLE_EQ(list[0].CoordShot.North, 20);
  EXPECT_EQ(list[1].CoordShot.Name.View(), "P9");
}

TEST(MergeShots, UnnamedOrDifferentlyNamedShotsStayApart) {
  std::vector<MeasureRecord> list = {test::CoordShot("NONAME", "", 0, 0, 0), test::SlopeShot("NONAME", "", 1, 2, 3),
                                     test::CoordShot("", "", 0, 0, 0), test::SlopeShot("", "", 1, 2, 3),
                                     test::CoordShot("A", "", 0, 0, 0), test::SlopeShot("B", "", 1, 2, 3)};
  MergeShotRecords(list);
  EXPECT_EQ(list.size(), 6u);
}

TEST(MergeShots, BacksightTakesItsBssShotOnlyWithThatExactCode) {
  std::vector<MeasureRecord> list = {test::Backsight("BK", 0, 90, 100), test::CoordShot("BK", "BSS", 30, 40, 2),
                                     test::Backsight("BK", 0, 90, 100), test::CoordShot("BK", "bss", 30, 40, 2)};
  MergeShotRecords(list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Backsight.HasBacksightPoint, 1);
  EXPECT_DOUBLE_EQ(list[0].Backsight.BacksightNorth, 30);
  EXPECT_DOUBLE_EQ(list[0].Backsight.BacksightEast, 40);
  EXPECT_EQ(list[1].Backsight.HasBacksightPoint, 0);
  EXPECT_EQ(list[2].Kind, KindCoordShot);
}

TEST(PointLoaders, CassReadsEastNorthInTheCurrentUnit) {
  WorkingData d;
  ASSERT_TRUE(LoadCassCoordLines(d, {"P1,T1,10.5,20.5,3.0"}, Settings{}));
  ASSERT_EQ(d.PointList.size(), 1u);
  EXPECT_DOUBLE_EQ(d.PointList[0].North, 20.5);
  EXPECT_DOUBLE_EQ(d.PointList[0].East, 10.5);
  EXPECT_EQ(d.PointList[0].Code.View(), "T1");
  ASSERT_TRUE(LoadCassCoordLines(d, {"P1,T1,10.5,20.5,3.0"}, UsFeet()));
  EXPECT_NEAR(d.PointList[0].North, 20.5 * 1200.0 / 3937.0, 1e-12);
}

TEST(PointLoaders, Gts7LayoutHasTheCodeLast) {
  WorkingData d;
  ASSERT_TRUE(LoadGts7CoordLines(d, {"P1,10.5,20.5,3.0,T1", "\"P 2\",1,2,3,"}, Settings{}));
  ASSERT_EQ(d.PointList.size(), 2u);
  EXPECT_EQ(d.PointList[0].Code.View(), "T1");
  EXPECT_DOUBLE_EQ(d.PointList[0].East, 10.5);
  EXPECT_EQ(d.PointList[1].Name.View(), "P 2");
  EXPECT_TRUE(d.PointList[1].Code.Empty());
}

TEST(PointLoaders, ABadLineAnywhereLeavesTheDataAlone) {
  WorkingData d = Sentinel();
  EXPECT_FALSE(LoadCassCoordLines(d, {"P1,T1,1,2,3", "P 1,T1,1,2,3"}, Settings{})) << "blank splits a name";
  EXPECT_FALSE(LoadCassCoordLines(d, {"P1,T1,1,2,3", "P2,T1,1,2"}, Settings{}));
  EXPECT_FALSE(LoadCassCoordLines(d, {"P1,T1,1,2,3", "P2,T1,1,x,3"}, Settings{}));
  EXPECT_FALSE(LoadCassCoordLines(d, {}, Settings{}));
  EXPECT_FALSE(LoadGts7CoordLines(d, {"P1,1,2,3"}, Settings{}));
  ExpectUntouched(d);
}

TEST(PointLoaders, NamesAndCodesLongerThanARecordHoldsAreCutAndReported) {
  WorkingData d = Sentinel();
  ASSERT_TRUE(LoadCassCoordLines(d,
                                 {"ABCDEFGHIJKLMNOP,T1,1,2,3", "ABCDEFGHIJKLMNOQ,CODE-LONGER-THAN-15,1,2,3",
                                  "ABCDEFGHIJKLMNO,,1,2,3"},
                                 Settings{}));
  EXPECT_EQ(d.PointList[0].Name.View(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(d.PointList[1].Code.View(), "CODE-LONGER-THA");
  EXPECT_EQ(d.Cuts.Count, 3u);
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(d.Cuts.SharedNames, (std::vector<Pair>{{"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOQ"}}));
  ASSERT_TRUE(LoadMeasureLines(d, {"JOB     J", "INST    I", "STA     STATION-NORTH-0001,1.5000,CODE-LONGER-THAN-15",
                                "XYZ     1.0000,2.0000,3.0000"})
                  .Empty());
  EXPECT_EQ(d.MeasurementList[0].Station.Name.View(), "STATION-NORTH-0");
  EXPECT_EQ(d.Cuts.Count, 2u);
  ASSERT_TRUE(LoadCodeLines(d, {"CODE-LONGER-THAN-15", "C2"}));
  EXPECT_EQ(d.CodeList[0].Code.View(), "CODE-LONGER-THA");
  EXPECT_EQ(d.Cuts.Count, 1u);
  EXPECT_TRUE(d.Cuts.SharedNames.empty());
}

TEST(CoordRecordLoader, ReadsMetresWhateverTheDisplayUnit) {
  WorkingData d;
  const LineList lines = {"SC      P1,0.0000,T1", "ENZ     100.0000,200.0000,5.0000", "SC      P2,0,",
                          "NEZ     300.0000,400.0000,6.0000"};
  ASSERT_TRUE(LoadCoordRecordLines(d, lines));
  ASSERT_EQ(d.PointList.size(), 2u);
  EXPECT_DOUBLE_EQ(d.PointList[0].East, 100.0);
  EXPECT_DOUBLE_EQ(d.PointList[0].North, 200.0);
  EXPECT_EQ(d.PointList[0].Code.View(), "T1");
  EXPECT_DOUBLE_EQ(d.PointList[1].North, 300.0);
  EXPECT_DOUBLE_EQ(d.PointList[1].East, 400.0);
}

TEST(CoordRecordLoader, CoordinateLineBeforeAnyScGivesAnUnnamedPoint) {
  WorkingData d;
  ASSERT_TRUE(LoadCoordRecordLines(d, {"NEZ     1.0000,2.0000,3.0000", "XYZ     a,b,c"}));
  ASSERT_EQ(d.PointList.size(), 1u);
  EXPECT_TRUE(d.PointList[0].Name.Empty());
}

TEST(CoordRecordLoader, FailsOnWrongFieldCountOrNoCoordinateLine) {
  WorkingData d = Sentinel();
  EXPECT_FALSE(LoadCoordRecordLines(d, {"SC      P1,0", "ENZ     1,2,3"}));
  EXPECT_FALSE(LoadCoordRecordLines(d, {"XYZ     1,2,3"}));
  EXPECT_FALSE(LoadCoordRecordLines(d, {"SC      P1,0,", "ENZ     1,x,3"}));
  ExpectUntouched(d);
}

TEST(CodeLoaders, PlainCodesKeepTrailingBlanksAndAcceptEmptyLines) {
  WorkingData d = Sentinel();
  ASSERT_TRUE(LoadCodeLines(d, {"T1", "", "WALL  "}));
  ASSERT_EQ(d.CodeList.size(), 3u);
  EXPECT_TRUE(d.CodeList[1].Code.Empty());
  EXPECT_EQ(d.CodeList[2].Code.View(), "WALL  ");
  EXPECT_TRUE(d.PointList.empty());
}

TEST(CodeLoaders, PlainCodesRefuseSeparators) {
  WorkingData d = Sentinel();
  EXPECT_FALSE(LoadCodeLines(d, {"T1", "1.5"}));
  EXPECT_FALSE(LoadCodeLines(d, {" T1"}));
  EXPECT_FALSE(LoadCodeLines(d, {"A:B"}));
  EXPECT_FALSE(LoadCodeLines(d, {}));
  ExpectUntouched(d);
}

TEST(CodeLoaders, TablesNeedTenColonFieldsAndKeepTheFirst) {
  WorkingData d = Sentinel();
  EXPECT_FALSE(LoadCodeTableLines(d, {"T1:a:b:c:d:e:f:g:h"}));
  ExpectUntouched(d);
  ASSERT_TRUE(LoadCodeTableLines(d, {"T1:a:b:c:d:e:f:g:h:i", "T2:::::::::"}));
  ASSERT_EQ(d.CodeList.size(), 2u);
  EXPECT_EQ(d.CodeList[0].Code.View(), "T1");
  EXPECT_EQ(d.CodeList[1].Code.View(), "T2");
}

TEST(KeywordText, FirstLineDecides) {
  EXPECT_TRUE(IsKeywordText({"JOB     A1"}));
  EXPECT_TRUE(IsKeywordText({"SC      P1,0,"}));
  EXPECT_FALSE(IsKeywordText({"P1,T1,10.5,20.5,3.0"}));
  EXPECT_FALSE(IsKeywordText({"JOB     "}));
  EXPECT_FALSE(IsKeywordText({"T1"}));
  EXPECT_FALSE(IsKeywordText({}));
}

TEST(Classify, PicksTheFirstLoaderThatTakesTheLines) {
  WorkingData d;
  EXPECT_EQ(ClassifyTextLines(d, {"SC      P1,0,", "ENZ     1,2,3"}, Settings{}), std::nullopt);
  EXPECT_EQ(d.DataKind, DataKind::Measure) << "opened SC/ENZ text is a measurement job";
  EXPECT_EQ(ClassifyTextLines(d, {"P1,T1,1,2,3"}, Settings{}), std::nullopt);
  EXPECT_EQ(d.DataKind, DataKind::Coord);
  EXPECT_EQ(ClassifyTextLines(d, {"P1,1,2,3,T1x"}, Settings{}), std::nullopt);
  EXPECT_EQ(d.DataKind, DataKind::Coord);
  EXPECT_EQ(ClassifyTextLines(d, {"T1", ""}, Settings{}), std::nullopt);
  EXPECT_EQ(d.DataKind, DataKind::Code);
  EXPECT_EQ(d.CodeList.size(), 2u);
}

TEST(Classify, EmptyAndUnknownTextsChangeNothing) {
  WorkingData d = Sentinel();
  EXPECT_EQ(ClassifyTextLines(d, {"", " \t", "\r"}, Settings{}), TextId::UnableToOpenEmptyFile);
  EXPECT_EQ(ClassifyTextLines(d, {"1.5", "a b c"}, Settings{}), TextId::WrongFileFormat);
  ExpectUntouched(d);
}

TEST(Extraction, StationBacksightPointAndShotsInOrder) {
  WorkingData d;
  MeasureRecord bs = test::Backsight("BK", 0, 90, 10);
  bs.Backsight.HasBacksightPoint = 1;
  bs.Backsight.BacksightNorth = 30;
  bs.Backsight.BacksightEast = 40;
  bs.Backsight.BacksightElevation = 2;
  d.MeasurementList = {test::Station("S1", "ST", 10, 20, 1), bs, test::Backsight("B2", 0, 0, 0),
                       test::SlopeShot("P7", "", 1, 2, 3), test::CoordShot("P8", "TREE", 50, 60, 3)};
  ExtractCoordPoints(d);
  ASSERT_EQ(d.PointList.size(), 3u);
  EXPECT_DOUBLE_EQ(d.PointList[0].North, 20);
  EXPECT_DOUBLE_EQ(d.PointList[0].East, 10);
  EXPECT_EQ(d.PointList[0].Code.View(), "ST");
  EXPECT_DOUBLE_EQ(d.PointList[1].North, 30);
  EXPECT_TRUE(d.PointList[1].Code.Empty());
  EXPECT_EQ(d.PointList[2].Code.View(), "TREE");
  ExtractCoordPoints(d);
  EXPECT_EQ(d.PointList.size(), 6u) << "extraction appends";
  EXPECT_EQ(d.MeasurementList.size(), 5u);
}

}  // namespace
}  // namespace theolink
