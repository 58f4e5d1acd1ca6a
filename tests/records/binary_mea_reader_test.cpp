// The two .mea layouts, their choice by the path, and the reading rules of each.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "records/binary_layouts.h"
#include "records/binary_measure_reader.h"
#include "records/binary_test_support.h"

namespace theolink {
namespace {

using test::Record;
using test::TempFolder;

Record M48(int type, std::string_view name, std::string_view code, float height) {
  Record r(48);
  r.I8(0, type).Text(1, name).Text(10, code).F32(20, height);
  return r;
}
Record M48Angles(int type, std::string_view name, std::string_view code, float height, std::uint32_t vertical,
                 std::uint32_t horizontal, float slope) {
  Record r = M48(type, name, code, height);
  r.U32(24, vertical).U32(28, horizontal).F32(40, slope);
  return r;
}
Record M48Point(int type, std::string_view name, std::string_view code, float height, double north, double east,
                double elevation) {
  Record r = M48(type, name, code, height);
  r.F64(24, north).F64(32, east).F64(40, elevation);
  return r;
}

Record M56(int type, std::string_view name, std::string_view code, float height) {
  Record r(56);
  r.I8(0, type).Text(1, name).Text(10, code).F32(20, height);
  return r;
}
Record M56Angles(int type, std::string_view name, std::string_view code, float height, std::int32_t vertical,
                 std::int32_t horizontal, double slope) {
  Record r = M56(type, name, code, height);
  r.I32(24, vertical).I32(28, horizontal).F64(40, slope);
  return r;
}
Record M56Point(int type, std::string_view name, std::string_view code, float height, double north, double east,
                double elevation) {
  Record r = M56(type, name, code, height);
  r.F64(24, north).F64(32, east).F64(40, elevation);
  return r;
}

std::int32_t Read48(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutM48(BinaryInput{bytes, readFailed}, lines);
}
std::int32_t Read56(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutM56(BinaryInput{bytes, readFailed}, lines);
}

TEST(BinaryM48, EveryRecordTypeGivesItsLinesFromItsOffsets) {
  const std::string file = std::string("\x01") +
                           M48Point(1, "ST1", "CTRL", 1.5f, 1000.0, 2000.0, 50.25).Bytes() +
                           M48Angles(2, "P2", "C2", 1.25f, 324000, 3600, 0).Bytes() +
                           M48Angles(3, "B3", "IGNORED", 1.6f, 200, 100, 12.5f).Bytes() +
                           M48Angles(5, "P5", "C5", 0, 1, 2, 0).Bytes() +
                           M48Angles(6, "P6", "C6", 2, 90, 180, 3.25f).Bytes() +
                           M48Angles(7, "P7", "C7", 0.5f, 4294967295u, 0, 1e6f).Bytes() +
                           M48Point(13, "SKIP", "SKIP", 9, 1, 2, 3).Bytes() +
                           M48Point(8, "P8", "C8", 2, 10, 20, 30).Bytes();
  LineList lines{"JOB     kept"};
  ASSERT_EQ(Read48(file, lines), 0);
  const LineList expected{
      "JOB     kept",
      "STA     ST1,1.5000,CTRL",
      "XYZ     2000.0000,1000.0000,50.2500",
      "SA      P2,1.2500,C2",
      "HV      3600,324000",
      "BS      B3,1.6000",
      "HVD     100,200,12.5000",
      "SA      P5,0.0000,C5",
      "HV      2,1",
      "SD      P6,2.0000,C6",
      "HVD     180,90,3.2500",
      "SD      P7,0.5000,C7",
      "HVD     0,4294967295,1000000.0000",
      "SC      P8,2.0000,C8",
      "ENZ     20.0000,10.0000,30.0000",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryM48, TextsUseTheirWholeWidthAndEmptyNamesBecomeNoname) {
  // A 9-character name and a 10-character code have no terminating zero.
  const std::string file = std::string("\x02") + M48Point(8, "ABCDEFGHI", "0123456789", 1, 1, 2, 3).Bytes() +
                           M48Point(8, "", "", 1, 1, 2, 3).Bytes();
  LineList lines;
  ASSERT_EQ(Read48(file, lines), 0);
  EXPECT_EQ(lines[0], "SC      ABCDEFGHI,1.0000,0123456789");
  EXPECT_EQ(lines[2], "SC      NONAME,1.0000,");
}

TEST(BinaryM48, LineBreaksInNamesAndCodesBecomeBlanks) {
  const std::string file = std::string("\x01") + M48Point(8, "A\r\nB", "x\ny", 1, 1, 2, 3).Bytes();
  LineList lines;
  ASSERT_EQ(Read48(file, lines), 0);
  EXPECT_EQ(lines[0], "SC      A  B,1.0000,x y");
}

TEST(BinaryM48, BackBearingFollowsOnlyAStation) {
  const std::string station = M48Point(1, "ST", "", 1.5f, 0, 0, 0);
  auto read = [](const std::string& body) {
    LineList lines;
    EXPECT_EQ(Read48("\x01" + body, lines), 0);
    return lines;
  };
  EXPECT_EQ(read(station + M48Point(4, "BK", "", 0, 0, 100, 0).Bytes()).back(), "BKB     BK,0.0000,324000");
  EXPECT_EQ(read(station + M48Point(4, "BK", "", 0, -1, -1, 0).Bytes()).back(), "BKB     BK,0.0000,810000");
  EXPECT_EQ(read(station + M48Point(4, "BK", "", 0, 5, 0, 0).Bytes()).back(), "BKB     BK,0.0000,0");
  EXPECT_EQ(read(station + M48Point(4, "", "", 0, 0, -5, 0).Bytes()).back(), "BKB     NONAME,0.0000,972000");

  // Coincident with the station: no bearing, no line.
  EXPECT_EQ(read(station + M48Point(4, "BK", "", 0, 0, 0, 0).Bytes()).size(), 2u);
  // A backsight that wrote nothing leaves the station as the record written last.
  EXPECT_EQ(read(station + M48Point(4, "B0", "", 0, 0, 0, 0).Bytes() + M48Point(4, "BK", "", 0, 0, 100, 0).Bytes())
                .back(),
            "BKB     BK,0.0000,324000");
  // After a shot, not a station.
  EXPECT_EQ(read(station + M48Angles(2, "P", "", 0, 0, 0, 0).Bytes() + M48Point(4, "BK", "", 0, 0, 100, 0).Bytes())
                .size(),
            4u);
  // Two in a row give one line.
  const LineList twice =
      read(station + M48Point(4, "B1", "", 0, 0, 100, 0).Bytes() + M48Point(4, "B2", "", 0, 100, 0, 0).Bytes());
  ASSERT_EQ(twice.size(), 3u);
  EXPECT_EQ(twice[2], "BKB     B1,0.0000,324000");
  // A skipped type 13 record between the station and the backsight does not count.
  EXPECT_EQ(read(station + M48Point(13, "", "", 0, 0, 0, 0).Bytes() + M48Point(4, "BK", "", 0, 0, 100, 0).Bytes())
                .back(),
            "BKB     BK,0.0000,324000");
  // The bearing is from the latest station.
  EXPECT_EQ(read(station + M48Point(1, "S2", "", 0, 10, 10, 0).Bytes() + M48Point(4, "BK", "", 0, 0, 10, 0).Bytes())
                .back(),
            "BKB     BK,0.0000,648000");
  // A backsight as the first record has no station.
  EXPECT_TRUE(read(M48Point(4, "BK", "", 0, 0, 100, 0)).empty());
}

TEST(BinaryM48, FileTypeByte) {
  LineList lines;
  EXPECT_EQ(Read48("", lines), -2);
  EXPECT_EQ(Read48("", lines, true), -3);
  EXPECT_EQ(Read48("\x01", lines), 0);
  EXPECT_EQ(Read48("\x02", lines), 0);
  EXPECT_EQ(Read48("\x03", lines), -6);
  EXPECT_EQ(Read48(std::string(1, '\0'), lines), -6);
  EXPECT_EQ(Read48("\xFF", lines), -6);
  EXPECT_TRUE(lines.empty());
}

TEST(BinaryM48, TerminationKeepsTheLinesOfWholeRecords) {
  const std::string two = std::string("\x01") + M48Point(8, "A", "", 0, 1, 2, 3).Bytes() +
                          M48Point(8, "B", "", 0, 1, 2, 3).Bytes();
  LineList lines;
  EXPECT_EQ(Read48(two + std::string(47, '\x08'), lines), -3);  // a cut last record
  EXPECT_EQ(lines.size(), 4u);
  lines.clear();
  EXPECT_EQ(Read48(two + "\x08", lines), -3);
  EXPECT_EQ(lines.size(), 4u);
  lines.clear();
  EXPECT_EQ(Read48(two, lines, true), -3);  // a read failure after whole records
  EXPECT_EQ(lines.size(), 4u);
  for (int bad : {0, 9, 10, 11, 12, 14, 127, -1, -128}) {
    lines.clear();
    EXPECT_EQ(Read48(two + M48Point(bad, "X", "", 0, 0, 0, 0).Bytes() + M48Point(8, "C", "", 0, 1, 2, 3).Bytes(), lines),
              -4)
        << bad;
    EXPECT_EQ(lines.size(), 4u) << bad;
  }
}

TEST(BinaryM48, ValuesThatAreNotNumbersAreWrittenSafely) {
  const float nan32 = std::numeric_limits<float>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::string file = std::string("\x01") + M48Point(1, "S", "", nan32, 1e308, -inf, 0).Bytes() +
                           M48Angles(3, "B", "", std::numeric_limits<float>::max(), 0, 0, -inf).Bytes();
  LineList lines;
  ASSERT_EQ(Read48(file, lines), 0);
  EXPECT_EQ(lines[0], "STA     S,nan,");
  EXPECT_EQ(lines[1].substr(0, 14), "XYZ     -inf,1");
  EXPECT_EQ(lines[1].size(), 8 + 5 + 309 + 5 + 7);
  EXPECT_EQ(lines[3], "HVD     0,0,-inf");
}

TEST(BinaryM56, EveryRecordTypeGivesItsLinesFromItsOffsets) {
  const std::string file = std::string("\x02") + M56Point(1, "ST", "STN", 1.5f, 100, 200, 10).Bytes() +
                           M56Angles(2, "P2", "C2", 1.25f, 324000, -3600, 0).Bytes() +
                           M56Angles(3, "P3", "C3", 1, 10, 20, 30.5).Bytes() +
                           M56Point(4, "P4", "C4", 0, 1.5, 2.5, 3.5).Bytes() +
                           M56Angles(5, "", "", 0, -1, -2, 0).Bytes() + M56Angles(6, "P6", "", 2, 7, 8, 9).Bytes() +
                           M56Angles(7, "P7", "C7", 2, 70, 80, 90).Bytes() +
                           M56Point(8, "ABCDEFGHI", "0123456789", 0, 11, 22, 33).Bytes();
  LineList lines;
  ASSERT_EQ(Read56(file, lines), 0);
  const LineList expected{
      "STA     ST,1.5000,STN",       "XYZ     200.0000,100.0000,10.0000",
      "SA      P2,1.2500,C2",        "HV      -3600,324000",
      "SD      P3,1.0000,C3",        "HVD     20,10,30.5000",
      "SC      P4,0.0000,C4",        "ENZ     2.5000,1.5000,3.5000",
      "SA      NONAME,0.0000,",      "HV      -2,-1",
      "SD      P6,2.0000,",          "HVD     8,7,9.0000",
      "SD      P7,2.0000,C7",        "HVD     80,70,90.0000",
      "SC      ABCDEFGHI,0.0000,0123456789", "ENZ     22.0000,11.0000,33.0000",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryM56, DeletedRecordsAreSkippedWhateverTheirType) {
  const std::string file = std::string("\x01") + M56Point(8, "\x7F" "DEL", "", 0, 1, 2, 3).Bytes() +
                           M56Point(0, "\x7F", "", 0, 1, 2, 3).Bytes() + M56Point(8, "KEEP", "", 0, 1, 2, 3).Bytes();
  LineList lines;
  ASSERT_EQ(Read56(file, lines), 0);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "SC      KEEP,0.0000,");
}

TEST(BinaryM56, Termination) {
  LineList lines;
  EXPECT_EQ(Read56("", lines), -2);
  EXPECT_EQ(Read56("\x05", lines), -6);
  EXPECT_EQ(Read56("\x01", lines), 0);
  const std::string one = std::string("\x01") + M56Point(8, "A", "", 0, 1, 2, 3).Bytes();
  EXPECT_EQ(Read56(one + std::string(55, '\x08'), lines), 0);  // a cut last record is not read
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  EXPECT_EQ(Read56(one + std::string(55, '\x08'), lines, true), -3);
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  EXPECT_EQ(Read56(one, lines, true), -3);
  for (int bad : {0, 9, 13, -1}) {
    lines.clear();
    EXPECT_EQ(Read56(one + M56Point(bad, "X", "", 0, 0, 0, 0).Bytes(), lines), -4) << bad;
    EXPECT_EQ(lines.size(), 2u);
  }
}

TEST(BinaryMeaChoice, CleanM48ReadWinsOtherwiseM56) {
  // Read as M48 this is a station and a shot; as M56 it would be cut differently.
  const std::string m48 = std::string("\x01") + M48Point(1, "S", "", 1, 0, 0, 0).Bytes() +
                          M48Angles(2, "P", "", 1, 0, 0, 0).Bytes();
  LineList lines{"before"};
  EXPECT_EQ(ReadMeaLayouts(BinaryInput{m48, false}, lines), 0);
  EXPECT_EQ(lines, (LineList{"before", "STA     S,1.0000,", "XYZ     0.0000,0.0000,0.0000", "SA      P,1.0000,",
                             "HV      0,0"}));

  // Two M56 records: 113 bytes leave a cut M48 record, so M56 decides, including its clean 0.
  const std::string m56 = std::string("\x01") + M56Point(8, "A", "", 0, 1, 2, 3).Bytes() +
                          M56Point(8, "B", "", 0, 1, 2, 3).Bytes() + "\x08\x08";
  lines.clear();
  EXPECT_EQ(ReadMeaLayouts(BinaryInput{m56, false}, lines), 0);
  EXPECT_EQ(lines, (LineList{"SC      A,0.0000,", "ENZ     2.0000,1.0000,3.0000", "SC      B,0.0000,",
                             "ENZ     2.0000,1.0000,3.0000"}));

  // Failing both ways: M56's result, with M56's lines only.
  const std::string bad = std::string("\x01") + M56Point(8, "A", "", 0, 1, 2, 3).Bytes() +
                          M56Point(9, "B", "", 0, 1, 2, 3).Bytes();
  lines.clear();
  EXPECT_EQ(ReadMeaLayouts(BinaryInput{bad, false}, lines), -4);
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  EXPECT_EQ(ReadMeaLayouts(BinaryInput{"\x07", false}, lines), -6);
  EXPECT_EQ(ReadMeaLayouts(BinaryInput{"", false}, lines), -2);
  EXPECT_TRUE(lines.empty());
}

TEST(BinaryMeasureFile, PathChoosesTheLayoutCaseInsensitively) {
  TempFolder dir;
  const std::string m48 = std::string("\x01") + M48Point(8, "P", "", 0, 1, 2, 3).Bytes();
  LineList lines;
  EXPECT_EQ(ReadMeasureBinary(dir.Write("JOB1.MEA", m48), lines), 0);
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  // ".mea" is looked for first, anywhere in the file name.
  EXPECT_EQ(ReadMeasureBinary(dir.Write("x.job.mea", m48), lines), 0);
  EXPECT_EQ(lines.size(), 2u);
  lines.clear();
  // A folder's name does not take part: this is a .dat file, whose header the bytes cut.
  std::filesystem::create_directories(dir.Path("a.mea.d"));
  EXPECT_EQ(ReadMeasureBinary(dir.Write("a.mea.d/x.dat", m48), lines), -2);
  EXPECT_TRUE(lines.empty());
  // The same bytes as a .dat file end inside the 96-byte header.
  lines.clear();
  EXPECT_EQ(ReadMeasureBinary(dir.Write("x.dat", m48), lines), -2);
  EXPECT_EQ(ReadMeasureBinary(dir.Write("x.Job", m48), lines), -2);  // 49 bytes: a short J112 header
  EXPECT_EQ(ReadMeasureBinary(dir.Write("x.jbf", m48), lines), 0);  // header and a cut J136 record
  EXPECT_TRUE(lines.empty());
  // No known text in the path: nothing is read, not even a missing file.
  EXPECT_EQ(ReadMeasureBinary(dir.Write("x.txt", m48), lines), 0);
  EXPECT_EQ(ReadMeasureBinary(dir.Path("missing.pts"), lines), 0);
  EXPECT_TRUE(lines.empty());
}

// Files far larger than one read chunk, so records straddle its edges; a .mea is read twice
// (the trial for M48, then its layout from the start again). The file gives what the same
// bytes give in memory, also with a cut last record.
TEST(BinaryMeasureFile, ReadInChunksAsTheWholeBytesRead) {
  std::string job(112, '\0'), mea = "\x01", m56 = "\x01";
  for (int i = 0; i < 3000; ++i) {
    Record j(112);
    j.I8(0, 4).Text(1, "J" + std::to_string(i)).F64(72, i).F64(80, 324000).F64(88, i * 0.5);
    job += j.Bytes();
    mea += M48Angles(6, "M" + std::to_string(i), "C", 1.5f, 324000, static_cast<std::uint32_t>(i), 2.5f).Bytes();
    m56 += M56Point(8, "N" + std::to_string(i), "C", 1.5f, i, 2.5, 3).Bytes();
  }
  using Layout = std::int32_t (*)(const BinaryInput&, LineList&);
  const struct {
    const char* name;
    std::string bytes;
    Layout layout;
  } kFiles[] = {
      {"a.job", job, &ReadLayoutJ112},
      {"b.job", job + std::string(50, '\x04'), &ReadLayoutJ112},
      {"c.mea", mea, &ReadMeaLayouts},
      {"d.mea", m56 + std::string(20, '\x08'), &ReadMeaLayouts},  // not M48: read again as M56
  };
  TempFolder dir;
  for (const auto& file : kFiles) {
    LineList expected, lines;
    const std::int32_t rc = file.layout(BinaryInput{file.bytes, false}, expected);
    ASSERT_GT(expected.size(), 1000u) << file.name;
    EXPECT_EQ(ReadMeasureBinary(dir.Write(file.name, file.bytes), lines), rc) << file.name;
    EXPECT_EQ(lines, expected) << file.name;
  }
}

TEST(BinaryMeasureFile, OpenAndReadFailures) {
  TempFolder dir;
  LineList lines;
  EXPECT_EQ(ReadMeasureBinary(dir.Path("missing.mea"), lines), -1);
  EXPECT_EQ(ReadMeasureBinary(dir.Path("missing.job"), lines), -1);
  EXPECT_EQ(ReadMeasureBinary(dir.Write("empty.mea", ""), lines), -2);
  EXPECT_EQ(ReadMeasureBinary(dir.Write("one.mea", "\x01"), lines), 0);
  EXPECT_EQ(ReadMeasureBinary(dir.Write("three.mea", "\x03"), lines), -6);
  // A folder opens but cannot be read.
  for (const char* name : {"d.mea", "d.dat", "d.job", "d.jbf"}) {
    std::filesystem::create_directories(dir.Path(name));
    EXPECT_EQ(ReadMeasureBinary(dir.Path(name), lines), -3) << name;
  }
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace theolink
