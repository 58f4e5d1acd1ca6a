// The .dat/.cor, .job and .jbf layouts: their headers, records and reading rules.
#include <string>

#include <gtest/gtest.h>

#include "records/binary_layouts.h"
#include "records/binary_test_support.h"

namespace theolink {
namespace {

using test::Record;

// D96: every field set to a distinct value, so a wrong offset shows.
Record D96(int type, std::string_view name, std::string_view code) {
  Record r(96);
  r.I8(0, type).Text(1, name).Text(10, code);
  r.F64(32, 12.5)           // slope distance
      .F64(40, 648000)      // horizontal, arc seconds
      .F64(48, 324000)      // vertical
      .F64(56, 1000.25)     // north
      .F64(64, 2000.5)      // east
      .F64(72, 30.125)      // elevation
      .F64(80, 1.55)        // instrument height
      .F64(88, 1.75);       // target height
  return r;
}

std::int32_t ReadD96(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutD96(BinaryInput{bytes, readFailed}, lines);
}

const std::string kD96Header(96, '\xAB');  // never interpreted

TEST(BinaryD96, EveryRecordTypeGivesItsLinesFromItsOffsets) {
  std::string file = kD96Header;
  for (int type : {1, 2, 3, 4, 5, 6, 7, 10, 11}) file += D96(type, "P" + std::to_string(type), "C").Bytes();
  LineList lines;
  ASSERT_EQ(ReadD96(file, lines), 0);
  const LineList expected{
      "STA     P1,1.5500,C",
      "XYZ     2000.5000,1000.2500,30.1250",
      "BS      P2,1.7500",
      "HVD     648000,324000,12.5000",
      "SA      P3,1.7500,C",
      "HV      648000,324000",
      "SD      P4,1.7500,C",
      "HVD     648000,324000,12.5000",
      "BKB     P5,648000,324000",
      "SC      P6,1.7500,C",
      "HVD     648000,324000,12.5000",
      "ENZ     2000.5000,1000.2500,30.1250",
      "SC      P7,1.7500,C",
      "ENZ     2000.5000,1000.2500,30.1250",
      "SC      P11,1.7500,C",
      "ENZ     2000.5000,1000.2500,30.1250",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryD96, FieldWidthsAndEmptyTexts) {
  const std::string code22(22, 'k');
  const std::string file = kD96Header + D96(7, "ABCDEFGHI", code22).Bytes() + D96(7, "", "").Bytes();
  LineList lines;
  ASSERT_EQ(ReadD96(file, lines), 0);
  EXPECT_EQ(lines[0], "SC      ABCDEFGHI,1.7500," + code22);
  EXPECT_EQ(lines[2], "SC      ,1.7500,");  // no NONAME in this layout
}

TEST(BinaryD96, NoteTextRunsOverTheFieldsAndLosesLineBreaks) {
  Record note(96);
  note.I8(0, 8).Text(1, "line1\r\nline2, with comma");
  Record full(96, 'n');
  full.I8(0, 8);
  LineList lines;
  ASSERT_EQ(ReadD96(kD96Header + note.Bytes() + full.Bytes(), lines), 0);
  EXPECT_EQ(lines, (LineList{"NOTE    line1  line2, with comma", "NOTE    " + std::string(95, 'n')}));
}

TEST(BinaryD96, Termination) {
  LineList lines;
  EXPECT_EQ(ReadD96("", lines), -2);
  EXPECT_EQ(ReadD96(kD96Header.substr(0, 95), lines), -2);
  EXPECT_EQ(ReadD96(kD96Header.substr(0, 95), lines, true), -3);
  EXPECT_EQ(ReadD96(kD96Header, lines), 0);
  EXPECT_EQ(ReadD96(kD96Header, lines, true), -3);
  EXPECT_TRUE(lines.empty());

  const std::string one = kD96Header + D96(7, "A", "").Bytes();
  EXPECT_EQ(ReadD96(one + std::string(95, '\x07'), lines), 0);  // a cut record at the end is not read
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  EXPECT_EQ(ReadD96(one + std::string(10, '\x07'), lines, true), -3);
  EXPECT_EQ(lines.size(), 2u);
  for (int bad : {0, 9, 12, 100, -1}) {
    lines.clear();
    EXPECT_EQ(ReadD96(one + D96(bad, "X", "").Bytes() + D96(7, "B", "").Bytes(), lines), -4) << bad;
    EXPECT_EQ(lines.size(), 2u) << bad;
  }
}

Record J112(int type, std::string_view name, std::string_view code, double slope = 12.5) {
  Record r(112);
  r.I8(0, type).Text(1, name).Text(31, code);
  r.F64(48, 1000.25)     // north
      .F64(56, 2000.5)   // east
      .F64(64, 30.125)   // elevation
      .F64(72, 648000)   // horizontal
      .F64(80, 324000)   // vertical
      .F64(88, slope)    // slope distance
      .F64(96, 1.55)     // instrument height
      .F64(104, 1.75);   // target height
  return r;
}

std::int32_t ReadJ112(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutJ112(BinaryInput{bytes, readFailed}, lines);
}

const std::string kJ112Header(112, '\xCD');

TEST(BinaryJ112, EveryRecordTypeGivesItsLinesFromItsOffsets) {
  std::string file = kJ112Header;
  for (int type : {1, 2, 3, 4, 5, 6, 7, 9, 10, 11}) file += J112(type, "P" + std::to_string(type), "C").Bytes();
  file += J112(2, "BK", "C", 0.0).Bytes();
  LineList lines;
  ASSERT_EQ(ReadJ112(file, lines), 0);
  const LineList expected{
      "STA     P1,1.5500,C",
      "XYZ     2000.5000,1000.2500,30.1250",
      "BS      P2,1.7500",
      "HVD     648000,324000,12.5000",
      "SA      P3,1.7500,C",
      "HV      648000,324000",
      "SD      P4,1.7500,C",
      "HVD     648000,324000,12.5000",
      "SC      P6,1.7500,C",
      "ENZ     2000.5000,1000.2500,30.1250",
      "SC      P7,1.7500,C",
      "HVD     648000,324000,12.5000",
      "ENZ     2000.5000,1000.2500,30.1250",
      "SC      P11,1.7500,C",
      "ENZ     2000.5000,1000.2500,30.1250",
      "BKB     BK,648000,324000",  // a backsight without distance
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryJ112, FieldWidthsAndNotes) {
  const std::string name30(30, 'a');
  const std::string code17(17, 'b');
  Record note(112);
  note.I8(0, 8).Text(1, "a\rb\nc");
  Record full(112, 'n');
  full.I8(0, 8);
  LineList lines;
  ASSERT_EQ(ReadJ112(kJ112Header + J112(6, name30, code17).Bytes() + J112(6, "", "").Bytes() + note.Bytes() +
                         full.Bytes(),
                     lines),
            0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "SC      " + name30 + ",1.7500," + code17);
  EXPECT_EQ(lines[2], "SC      ,1.7500,");
  EXPECT_EQ(lines[4], "NOTE    a b c");
  EXPECT_EQ(lines[5], "NOTE    " + std::string(111, 'n'));
}

TEST(BinaryJ112, Termination) {
  LineList lines;
  EXPECT_EQ(ReadJ112("", lines), -2);
  EXPECT_EQ(ReadJ112(kJ112Header.substr(0, 111), lines), -2);
  EXPECT_EQ(ReadJ112(kJ112Header.substr(0, 1), lines, true), -3);
  EXPECT_EQ(ReadJ112(kJ112Header, lines), 0);
  const std::string one = kJ112Header + J112(6, "A", "").Bytes();
  EXPECT_EQ(ReadJ112(one + std::string(111, '\x06'), lines), 0);
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  EXPECT_EQ(ReadJ112(one, lines, true), -3);
  EXPECT_EQ(lines.size(), 2u);
  for (int bad : {0, 12, -7}) {
    lines.clear();
    EXPECT_EQ(ReadJ112(one + J112(bad, "X", "").Bytes(), lines), -4) << bad;
    EXPECT_EQ(lines.size(), 2u) << bad;
  }
}

// J136 records put different things at the same offsets by type; each value here is distinct.
Record J136(int type, std::string_view name) {
  Record r(136);
  r.I8(0, type).Text(16, name);
  r.F32(28, 1.5f)           // instrument height
      .F64(56, 56.5)        // Y / north / vertical
      .F64(64, 64.25)       // Z / east / horizontal
      .F64(72, 72.125)      // elevation / slope distance
      .F64(96, 96.5)
      .F64(104, 104.25)
      .F64(112, 112.125);
  return r;
}

std::int32_t ReadJ136(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutJ136(BinaryInput{bytes, readFailed}, lines);
}

const std::string kJ136Header(48, '\xEF');

TEST(BinaryJ136, EveryRecordTypeGivesItsLinesFromItsOffsets) {
  Record station = J136(1, "STN");
  station.F64(48, 48.5);  // X; the target height shares these bytes in other types
  Record shot = J136(3, "P3");
  shot.F32(48, 1.25f);
  Record point = J136(5, "P5");
  point.F32(48, 2.5f);
  Record backsight = J136(6, "BK");
  backsight.F32(48, 1.75f).U8(27, 0);
  Record backsightWithPoint = backsight;
  backsightWithPoint.U8(27, 0x80);
  const std::string file = kJ136Header + station.Bytes() + J136(2, "P2").Bytes() + shot.Bytes() + point.Bytes() +
                           J136(4, "X4").Bytes() + J136(0, "X0").Bytes() + J136(-3, "X").Bytes() +
                           J136(99, "X").Bytes() + backsight.Bytes() + backsightWithPoint.Bytes();
  LineList lines;
  ASSERT_EQ(ReadJ136(file, lines), 0);
  const LineList expected{
      "STA     STN,1.5000,",
      "XYZ     48.5000,56.5000,64.2500",
      "SC      P2,0.0000,",
      "NEZ     56.5000,64.2500,72.1250",
      "SC      P3,1.2500,",
      "HVD     64,57,72.1250",
      "NEZ     96.5000,104.2500,112.1250",
      "SC      P5,2.5000,",
      "NEZ     56.5000,64.2500,72.1250",
      "BS      BK,1.7500",
      "HVD     64,57,72.1250",
      "BS      BK,1.7500",
      "HVD     64,57,72.1250",
      "SC      BK,1.7500,",
      "NEZ     96.5000,104.2500,112.1250",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryJ136, NameFieldAndTermination) {
  LineList lines;
  Record wide = J136(2, "0123456789");
  wide.U8(26, 'Z');  // byte after the name field
  ASSERT_EQ(ReadJ136(kJ136Header + wide.Bytes() + J136(2, "").Bytes(), lines), 0);
  EXPECT_EQ(lines[0], "SC      0123456789,0.0000,");
  EXPECT_EQ(lines[2], "SC      ,0.0000,");

  lines.clear();
  EXPECT_EQ(ReadJ136("", lines), -2);
  EXPECT_EQ(ReadJ136(kJ136Header.substr(0, 47), lines), -2);
  EXPECT_EQ(ReadJ136(kJ136Header.substr(0, 47), lines, true), -3);
  EXPECT_EQ(ReadJ136(kJ136Header, lines), 0);
  const std::string one = kJ136Header + J136(2, "A").Bytes();
  EXPECT_EQ(ReadJ136(one + std::string(135, '\x02'), lines), 0);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(ReadJ136(one, lines, true), -3);
  EXPECT_EQ(lines.size(), 4u);
}

}  // namespace
}  // namespace theolink
