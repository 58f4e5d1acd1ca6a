#include <gtest/gtest.h>

#include "files/csv_rows.h"
#include "files/dxf_writer.h"
#include "files/gts7_export.h"
#include "files/save_writers.h"
#include "test_support.h"

namespace theolink {
namespace {

Settings With(int angle, int distance) {
  Settings s;
  s.AngleUnit = angle;
  s.DistanceUnit = distance;
  return s;
}

TEST(CsvRows, SlopeShotInEachUnit) {
  MeasureRecord sd = test::SlopeShot("P1", "C", 90, 88.5, 25.123);
  EXPECT_EQ(FormatCsvMeasureRow(sd, Settings{}), "SC,P1,1.5000,C,90.0000,88.3000,25.1230,,,");
  EXPECT_EQ(FormatCsvMeasureRow(sd, With(1, 2)), "SC,P1,4.9213,C,100.0000,98.3333,82.4245,,,");
}

TEST(CsvRows, FieldCountsPerKind) {
  EXPECT_EQ(FormatCsvMeasureRow(test::CoordShot("P", "C", 2, 1, 3), Settings{}), "SC,P,1.3000,C,,,,1.0000,2.0000,3.0000");
  EXPECT_EQ(FormatCsvMeasureRow(test::Backsight("", 0, 90, 1), Settings{}), "SC,NONAME,1.6000,,0.0000,90.0000,1.0000,,,");
  EXPECT_EQ(FormatCsvMeasureRow(test::Station("S", "", 1, 2, 3), Settings{}), "STA,S,1.5000,,1.0000,2.0000,3.0000");
  MeasureRecord note;
  note.Kind = KindNote;
  EXPECT_EQ(FormatCsvMeasureRow(note, Settings{}), "");
}

TEST(PointRows, LayoutsAndNoName) {
  const PointRecord p = test::Point("", "", 20.5, 10.5, 3);
  EXPECT_EQ(FormatPointRow(p, CoordLayoutCass, Settings{}), "NONAME,,10.5000,20.5000,3.0000");
  EXPECT_EQ(FormatPointRow(test::Point("P1", "T1", 20.5, 10.5, 3), CoordLayoutGts7, Settings{}),
            "P1,10.5000,20.5000,3.0000,T1");
  EXPECT_EQ(FormatPointRow(p, 1, Settings{}), "");
  EXPECT_EQ(FormatPointRow(test::Point("P 3", "a,\"b\"", 0, 0, 0), CoordLayoutCass, Settings{}),
            "\"P 3\",\"a,\"\"b\"\"\",0.0000,0.0000,0.0000");
}

TEST(UploadLines, SixDecimalMetresAndBackspaceForNoCode) {
  WorkingData d;
  d.PointList = {test::Point("P1", "T1", 1.5, -2.25, 3), test::Point("", "", 0, 0, 0)};
  LineList lines;
  WriteUploadCoordLines(d, lines);
  EXPECT_EQ(lines, (LineList{"P1 T1 0 1.500000 -2.250000 3.000000 0", "NONAME \b 0 0.000000 0.000000 0.000000 0"}));
}

TEST(JobFile, BlankHeaderValuesAreWrittenAsTheLoaderWouldNameThem) {
  WorkingData d;
  d.MeasurementList = {test::Station("S1", "", 1, 2, 3)};
  LineList lines;
  WriteJobFile(d, lines);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "JOB     NONAME");
  EXPECT_EQ(lines[1], "INST    UNKNOWN");
  d.JobName = "A1";
  d.InstrumentName = "X";
  lines.clear();
  WriteJobFile(d, lines);
  EXPECT_EQ(lines, (LineList{"JOB     A1", "INST    X", "STA     S1,1.5000,", "XYZ     1.0000,2.0000,3.0000"}));
}

TEST(MeasureExport, CoordinateFormatsLeaveNoPointsBehind) {
  WorkingData d;
  d.JobName = "J";
  d.MeasurementList = {test::Station("S1", "", 1, 2, 3), test::CoordShot("P", "", 5, 6, 7)};
  for (const char* name : {"cass", "dxf", "gts7-coord"}) {
    LineList lines;
    EXPECT_EQ(ExportMeasureData(d, lines, *FindSaveFormat(DataKind::Measure, name), "x.txt", Settings{}), std::nullopt);
    EXPECT_FALSE(lines.empty());
    EXPECT_TRUE(d.PointList.empty());
    EXPECT_EQ(d.MeasurementList.size(), 2u);
  }
  WorkingData empty;
  LineList lines;
  EXPECT_EQ(ExportMeasureData(empty, lines, *FindSaveFormat(DataKind::Measure, "wkj"), "x.wkj", Settings{}), std::nullopt);
  EXPECT_TRUE(lines.empty());
}

TEST(Gts7, NameMustEndInGt7InAnyCase) {
  WorkingData d;
  d.JobName = "J";
  LineList lines;
  EXPECT_EQ(ExportGts7(d, lines, "/tmp/JOB.GT7", Gts7Mode::AllData, false, Settings{}), std::nullopt);
  EXPECT_EQ(lines.size(), 3u);
  lines.clear();
  EXPECT_EQ(ExportGts7(d, lines, "/tmp/job.txt", Gts7Mode::AllData, false, Settings{}), TextId::Gts7NameNotGt7);
  EXPECT_EQ(ExportGts7(d, lines, "/tmp/.gt7", Gts7Mode::AllData, false, Settings{}), TextId::Gts7NameNotGt7);
  EXPECT_EQ(ExportGts7(d, lines, "a.gt7", Gts7Mode::AllData, false, With(2, 0)), TextId::MilNotSupported);
  EXPECT_TRUE(lines.empty());
}

WorkingData OneShot(double zenith, double slope) {
  WorkingData d;
  d.JobName = "J";
  d.InstrumentName = "I";
  d.MeasurementList = {test::SlopeShot("P", "", 0, zenith, slope)};
  return d;
}

TEST(Gts7, HorizontalDistanceCarriesCurvatureAndScale) {
  LineList lines;
  WriteGts7(OneShot(90, 100), lines, Gts7Mode::ObservationsOnly, 1.0, 0.14, true, Settings{});
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "JOB     J,");
  EXPECT_EQ(lines[2], "UNITS   M,D");
  EXPECT_EQ(lines[3], "SS      P,1.5000,");
  EXPECT_EQ(lines[4], "HD      0.0000,100.0000,0.0007");
  lines.clear();
  WriteGts7(OneShot(90, 100), lines, Gts7Mode::ObservationsOnly, 1.1, 0.0, true, Settings{});
  EXPECT_EQ(lines[4], "HD      0.0000,100.0000,0.0008") << "1.1 exactly is not applied";
  lines.clear();
  WriteGts7(OneShot(90, 100), lines, Gts7Mode::ObservationsOnly, 1.05, 0.0, true, Settings{});
  EXPECT_EQ(lines[4], "HD      0.0000,105.0000,0.0008");
}

TEST(Gts7, ObservationsOnlyDropsPlainCoordinatesAndNotes) {
  WorkingData d;
  d.JobName = "J";
  MeasureRecord note;
  note.Kind = KindNote;
  note.Note.Text = NoteText(std::string_view("hello"));
  d.MeasurementList = {test::CoordShot("P", "", 1, 2, 3), note};
  LineList lines;
  WriteGts7(d, lines, Gts7Mode::ObservationsOnly, 1, 0, false, Settings{});
  EXPECT_EQ(lines.size(), 3u);
  lines.clear();
  WriteGts7(d, lines, Gts7Mode::AllData, 1, 0, false, Settings{});
  EXPECT_EQ(lines, (LineList{"JOB     J,", "INST    ", "UNITS   M,D", "SS      P,1.3000,", "XYZ     2.0000,1.0000,3.0000"}));
}

TEST(Gts7, KeywordMappingIsPlainReplacement) {
  EXPECT_EQ(MapGts7Keywords("BS      SCX,1.0000|HVD     0,0,1"), "BS      SSX,1.0000|SD      0,0,1");
  EXPECT_EQ(MapGts7Keywords("SC      ENZA,1,|ENZ     1,2,3"), "SS      XYZA,1,|XYZ     1,2,3");
  EXPECT_EQ(MapGts7Keywords("SD      HVD,1,|HVD     1,2,3"), "SS      SD ,1,|SD      1,2,3");
  EXPECT_EQ(MapGts7Keywords("STA     S,1,|XYZ     1,2,3"), "STN     S,1,|XYZ     1,2,3");
  EXPECT_EQ(MapGts7Keywords("BKB     B,0,0"), "BKB     B,0,0");
  EXPECT_EQ(MapGts7Keywords("SC"), "SC");
  // Patterns next to and inside each other, and at the very end.
  EXPECT_EQ(MapGts7Keywords("BS      SSCHVDVDENZNZSC"), "BS      SSSSD VDXYZNZSS");
  EXPECT_EQ(MapGts7Keywords("SC      HHVDEENZSC"), "SS      HSD EXYZSC");
}

TEST(Dxf, EmptyListGivesZeroExtentsAndNoEntity) {
  LineList lines;
  WriteDxf(WorkingData{}, lines);
  EXPECT_EQ(lines, (LineList{"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "0.0000", "20", "0.0000", "30",
                             "0.0000", "9", "$EXTMAX", "10", "0.0000", "20", "0.0000", "30", "0.0000", "0", "ENDSEC",
                             "0", "SECTION", "2", "ENTITIES", "0", "ENDSEC", "0", "EOF"}));
}

TEST(Dxf, OnePointLabelsAndTrueNegativeExtents) {
  WorkingData d;
  d.PointList = {test::Point("P1", "", 100, 200, 5), test::Point("", "T", -5, 1, -2)};
  LineList lines;
  WriteDxf(d, lines);
  EXPECT_EQ(lines[7], "-5.0000");
  EXPECT_EQ(lines[9], "1.0000");
  EXPECT_EQ(lines[11], "-2.0000");
  EXPECT_EQ(lines[15], "100.0000");
  const LineList firstName(lines.begin() + 26, lines.begin() + 38);
  EXPECT_EQ(firstName, (LineList{"0", "TEXT", "8", "PNTNO", "10", "101.0000", "20", "199.0000", "40", "0.8", "1", "P1"}));
  EXPECT_EQ(lines[26 + 12 + 11], "5.0000");
  EXPECT_EQ(lines[26 + 24 + 7], "197.0000");
  EXPECT_EQ(lines[26 + 24 + 11], " ") << "an empty code is labelled with one blank";
  EXPECT_EQ(lines[26 + 36 + 1], "POINT");
  EXPECT_EQ(lines[26 + 48 + 11], "NONAME");
}

}  // namespace
}  // namespace theolink
