#include "records/keyword_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "records/diagnostics.h"

namespace theolink {
namespace {

TEST(PreprocessLines, JoinsContinuationLinesIntoRecordTexts) {
  const LineList input = {"JOB     A1",          "INST    X",    "STA     S1,1.5000,C", "XYZ     1.0000,2.0000,3.0000",
                          "SD      P7,1.5000,W", "HVD     1,2,3", "NOTE    hello"};
  LineList out;
  ASSERT_EQ(PreprocessLines(input, out), 0);
  const LineList expected = {"JOB     A1", "INST    X", "STA     S1,1.5000,C|XYZ     1.0000,2.0000,3.0000",
                             "SD      P7,1.5000,W|HVD     1,2,3", "NOTE    hello"};
  EXPECT_EQ(out, expected);
}

TEST(PreprocessLines, SkipsBlankAndZeroLinesAndKeepsLinesUnchanged) {
  LineList out;
  EXPECT_EQ(PreprocessLines({"", "   ", "0", " 0\t", "\r"}, out), 0);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(PreprocessLines({}, out), -1);

  out.clear();
  ASSERT_EQ(PreprocessLines({"SC      P1,1,C  ", "0", "HVD     1,2,3\r", "", "ENZ     1,2,3", "BKB     B,0,1"}, out), 0);
  EXPECT_EQ(out, (LineList{"SC      P1,1,C  |HVD     1,2,3\r|ENZ     1,2,3", "BKB     B,0,1"}));
}

TEST(PreprocessLines, StopsAtUnknownKeywordsAndOrphanContinuations) {
  std::size_t failed = 99;
  LineList out;
  EXPECT_EQ(PreprocessLines({"JOB     A", "XYZ     1,2,3"}, out, failed), -3);
  EXPECT_EQ(failed, 1u);
  EXPECT_EQ(out, LineList{"JOB     A"});  // what was appended so far stays

  out.clear();
  EXPECT_EQ(PreprocessLines({"SD      P,1,C", "HVD     1,2,3", "NOTE    x", "HVD     1,2,3"}, out, failed), -3);
  EXPECT_EQ(failed, 3u);
  out.clear();
  EXPECT_EQ(PreprocessLines({"SD      P,1,C", "", "UNITS   M"}, out, failed), -2);
  EXPECT_EQ(failed, 2u);
  out.clear();
  // Keywords are matched exactly: case and leading blanks count.
  EXPECT_EQ(PreprocessLines({"sd      P,1,C"}, out), -2);
  EXPECT_EQ(PreprocessLines({" SD     P,1,C"}, out), -2);
  EXPECT_EQ(PreprocessLines({"SDX     P,1,C"}, out), -2);
}

TEST(HeaderLines, GiveTheUntrimmedValue) {
  std::string value = "old";
  EXPECT_EQ(ReadJobHeader("JOB     A1", value), 0);
  EXPECT_EQ(value, "A1");
  EXPECT_EQ(ReadJobHeader("JOB      A1 ", value), 0);
  EXPECT_EQ(value, " A1 ");
  EXPECT_EQ(ReadInstHeader("INST    GTS 1", value), 0);
  EXPECT_EQ(value, "GTS 1");
  value = "kept";
  EXPECT_EQ(ReadJobHeader("JOB     ", value), -1);
  EXPECT_EQ(ReadJobHeader("JOB", value), -1);
  EXPECT_EQ(ReadJobHeader("INST    X", value), -2);
  EXPECT_EQ(ReadInstHeader("JOB     X", value), -2);
  EXPECT_EQ(ReadInstHeader("INSTR   X", value), -2);
  EXPECT_EQ(value, "kept");
}

TEST(ParseRecord, ReadsASlopeShot) {
  MeasureRecord r;
  ASSERT_EQ(ParseRecordText("SD      P7,1.5000,WALL|HVD     324000,318600,25.1230", r), 0);
  ASSERT_EQ(r.Kind, KindSlopeShot);
  EXPECT_EQ(r.SlopeShot.Name.View(), "P7");
  EXPECT_EQ(r.SlopeShot.Code.View(), "WALL");
  EXPECT_EQ(r.SlopeShot.TargetHeight, 1.5);
  EXPECT_DOUBLE_EQ(r.SlopeShot.HorizontalAngle, 90.0);
  EXPECT_DOUBLE_EQ(r.SlopeShot.VerticalAngle, 88.5);
  EXPECT_EQ(r.SlopeShot.SlopeDistance, 25.123);
}

TEST(ParseRecord, ReadsEveryKind) {
  MeasureRecord r;
  ASSERT_EQ(ParseRecordText("STA     S1,1.2000,|XYZ     10.0000,20.0000,30.0000", r), 0);
  EXPECT_EQ(r.Kind, KindStation);
  EXPECT_EQ(r.Station.Code.View(), "");
  EXPECT_EQ(r.Station.X, 10.0);  // the order of the XYZ line
  EXPECT_EQ(r.Station.Y, 20.0);
  EXPECT_EQ(r.Station.Z, 30.0);

  ASSERT_EQ(ParseRecordText("BS      B1,1.6000|HVD     -3600,324000,84.2310", r), 0);
  EXPECT_EQ(r.Kind, KindBacksight);
  EXPECT_DOUBLE_EQ(r.Backsight.HorizontalAngle, -1.0);
  EXPECT_EQ(r.Backsight.HasBacksightPoint, 0);

  ASSERT_EQ(ParseRecordText("BKB     B1,0,648000", r), 0);
  EXPECT_EQ(r.Kind, KindBearing);
  EXPECT_DOUBLE_EQ(r.Bearing.SecondAngle, 180.0);

  ASSERT_EQ(ParseRecordText("SA      A1,1.3000,CURB|HV      7200,324000", r), 0);
  EXPECT_EQ(r.Kind, KindAngleShot);
  EXPECT_DOUBLE_EQ(r.AngleShot.HorizontalAngle, 2.0);
}

TEST(ParseRecord, CoordinateShotsHoldNorthEastWhateverTheLine) {
  MeasureRecord enz, nez;
  ASSERT_EQ(ParseRecordText("SC      P1,1.0000,C|ENZ     100.0000,200.0000,3.0000", enz), 0);
  ASSERT_EQ(ParseRecordText("SC      P1,1.0000,C|NEZ     200.0000,100.0000,3.0000", nez), 0);
  for (const MeasureRecord* r : {&enz, &nez}) {
    EXPECT_EQ(r->Kind, KindCoordShot);
    EXPECT_EQ(r->CoordShot.North, 200.0);
    EXPECT_EQ(r->CoordShot.East, 100.0);
    EXPECT_EQ(r->CoordShot.Elevation, 3.0);
    EXPECT_EQ(r->CoordShot.HasObservation, 0);
  }
  MeasureRecord obs;
  ASSERT_EQ(ParseRecordText("SC      P1,1.0000,C|HVD     3600,7200,5.5000|NEZ     1,2,3", obs), 0);
  EXPECT_EQ(obs.CoordShot.HasObservation, 1);
  EXPECT_DOUBLE_EQ(obs.CoordShot.VerticalAngle, 2.0);
  EXPECT_EQ(obs.CoordShot.SlopeDistance, 5.5);
  EXPECT_EQ(obs.CoordShot.North, 1.0);
}

TEST(ParseRecord, ResultCodes) {
  MeasureRecord r;
  EXPECT_EQ(ParseRecordText("SD      P7,1.5,W|HV      1,2", r), -2);
  EXPECT_EQ(ParseRecordText("SD      P7,1.5,W", r), -2);
  EXPECT_EQ(ParseRecordText("SD      P7,1.5,W,X|HVD     1,2,3", r), -2);
  EXPECT_EQ(ParseRecordText("SC      P,1,C|ENZ     1,2,3|ENZ     1,2,3|ENZ     1,2,3", r), -2);
  EXPECT_EQ(ParseRecordText("STA     S,1,C|ENZ     1,2,3", r), -1);
  EXPECT_EQ(ParseRecordText("SD      P7,1.5,W|XYZ     1,2,3", r), -1);
  EXPECT_EQ(ParseRecordText("SC      P,1,C|NEZ     1,2,3|HVD     1,2,3", r), -1);
  EXPECT_EQ(ParseRecordText("SC      P,1,C|XYZ     1,2,3", r), -1);
  EXPECT_EQ(ParseRecordText("SC      P,1,C|ENZ     1,2,3|NEZ     1,2,3", r), -1);  // 12 items need HVD at 4
  EXPECT_EQ(ParseRecordText("BKB", r), -3);
  EXPECT_EQ(ParseRecordText("BKB     ", r), -3);
  EXPECT_EQ(ParseRecordText("SD      P7,1.5,W|HVD", r), -3);
  EXPECT_EQ(ParseRecordText("FOO     1,2,3", r), -4);
  EXPECT_EQ(ParseRecordText("", r), -4);
  EXPECT_EQ(ParseRecordText("HVD     1,2,3", r), -4);
}

TEST(ParseRecord, ValueThatIsNotANumberPrintsTheDiagnostic) {
  MeasureRecord r;
  testing::internal::CaptureStdout();
  EXPECT_EQ(ParseRecordText("SD      P7,,W|HVD     1,2,3", r), -5);
  EXPECT_EQ(ParseRecordText("SD      P7,1.2.3,W|HVD     1,2,3", r), -5);
  // Values are converted before the keywords are checked.
  EXPECT_EQ(ParseRecordText("SD      P7,x,W|HV      1,2,3", r), -5);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Excption: '' is not a valid floating point value\n"
            "Excption: '1.2.3' is not a valid floating point value\n"
            "Excption: 'x' is not a valid floating point value\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(ParseRecordText("SC      P,1,C|NEZ     1,2,x|HVD     1,2,3", r), -1);  // keyword tested first
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

std::string takenDiagnostics;

TEST(ParseRecord, ReplacedDiagnosticSinkTakesTheLineInsteadOfStandardOutput) {
  MeasureRecord r;
  takenDiagnostics.clear();
  const DiagnosticSink before = SetDiagnosticSink([](std::string_view line) { takenDiagnostics += line; });
  testing::internal::CaptureStdout();
  EXPECT_EQ(ParseRecordText("SD      P7,x,W|HVD     1,2,3", r), -5);
  SetDiagnosticSink(before);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(takenDiagnostics, "Excption: 'x' is not a valid floating point value\n");
}

TEST(ParseRecord, FailedKeywordCheckKeepsTheOldBody) {
  MeasureRecord r;
  ASSERT_EQ(ParseRecordText("SD      OLD,1,W|HVD     1,2,3", r), 0);
  EXPECT_EQ(ParseRecordText("SD      NEW,1,W|XYZ     1,2,3", r), -1);
  EXPECT_EQ(r.SlopeShot.Name.View(), "OLD");
}

TEST(ParseRecord, NamesAndCodes) {
  MeasureRecord r;
  ASSERT_EQ(ParseRecordText("SD      ,1,|HVD     1,2,3", r), 0);
  EXPECT_EQ(r.SlopeShot.Name.View(), "NONAME");
  EXPECT_EQ(r.SlopeShot.Code.View(), "");
  ASSERT_EQ(ParseRecordText("SD       P 7 , 1 ,  a b |HVD      1 ,2 , 3 ", r), 0);
  EXPECT_EQ(r.SlopeShot.Name.View(), "P 7");
  EXPECT_EQ(r.SlopeShot.Code.View(), "a b");
  ASSERT_EQ(ParseRecordText("SD      ABCDEFGHIJKLMNOPQRST,1,0123456789abcdefXYZ|HVD     1,2,3", r), 0);
  EXPECT_EQ(r.SlopeShot.Name.View(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(r.SlopeShot.Code.View(), "0123456789abcde");
  // A cut that ends in a blank drops it: a written name could never read back with it.
  ASSERT_EQ(ParseRecordText("SD      ABCDEFGHIJKLMN XYZ,1,C|HVD     1,2,3", r), 0);
  EXPECT_EQ(r.SlopeShot.Name.View(), "ABCDEFGHIJKLMN");
}

TEST(ParseRecord, OneLineRecordIsTakenUntrimmed) {
  MeasureRecord r;
  EXPECT_EQ(ParseRecordText("BKB     B1,0,3600   ", r), 0);
  EXPECT_DOUBLE_EQ(r.Bearing.SecondAngle, 1.0);
  // Trailing blanks of a short one-line record do not make it long enough.
  EXPECT_EQ(ParseRecordText("BKB      ", r), -2);
}

TEST(ParseRecord, Notes) {
  MeasureRecord r;
  ASSERT_EQ(ParseRecordText("NOTE    a,b", r), 0);
  EXPECT_EQ(r.Kind, KindNote);
  EXPECT_EQ(r.Note.Text.View(), "a;b");
  ASSERT_EQ(ParseRecordText("NOTE      x|y,z  ", r), 0);
  EXPECT_EQ(r.Note.Text.View(), "x|y;z");
  ASSERT_EQ(ParseRecordText("NOTE", r), 0);
  EXPECT_EQ(r.Note.Text.View(), "");
  const std::string longText(300, 'n');
  ASSERT_EQ(ParseRecordText("NOTE    " + longText, r), 0);
  EXPECT_EQ(r.Note.Text.View(), longText.substr(0, 255));
  ASSERT_EQ(ParseRecordText("NOTE    " + std::string(254, 'n') + " tail", r), 0);
  EXPECT_EQ(r.Note.Text.View(), std::string(254, 'n'));
}

TEST(SplitFields, KeepsEmptyFieldsAndTrims) {
  LineList f = {"before"};
  EXPECT_EQ(SplitFields("a,,b", ',', f), 3);
  EXPECT_EQ(SplitFields("a,", ',', f), 2);
  EXPECT_EQ(SplitFields("", ',', f), 1);
  EXPECT_EQ(SplitFields(" x | y\t", '|', f), 2);
  EXPECT_EQ(f, (LineList{"before", "a", "", "b", "a", "", "", "x", "y"}));
}

}  // namespace
}  // namespace theolink
