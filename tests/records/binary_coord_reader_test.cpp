// The coordinate-list layouts and the choice of reader for coordinate files.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "records/binary_coord_reader.h"
#include "records/binary_layouts.h"
#include "records/binary_measure_reader.h"
#include "records/binary_test_support.h"

namespace theolink {
namespace {

using test::Record;
using test::TempFolder;

Record P56(unsigned type, std::string_view name, std::string_view code, double north, double east, double elevation) {
  Record r(56);
  r.U8(0, type).Text(1, name).Text(16, code).F64(32, north).F64(40, east).F64(48, elevation);
  return r;
}

Record P40(std::string_view name, double north, double east, double elevation) {
  Record r(40);
  r.Text(0, name).F64(16, north).F64(24, east).F64(32, elevation);
  return r;
}

std::int32_t ReadP56(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutP56(BinaryInput{bytes, readFailed}, lines);
}
std::int32_t ReadP40(const std::string& bytes, LineList& lines, bool readFailed = false) {
  return ReadLayoutP40(BinaryInput{bytes, readFailed}, lines);
}

TEST(BinaryP56, PointsAndSkippedRecords) {
  const std::string name15(15, 'n');
  const std::string code16(16, 'c');
  const std::string file = P56(11, "P1", "WALL", 100.5, 200.25, 10).Bytes() +
                           P56(10, "LF", "", 1, 2, 3).Bytes() +  // a line feed record, 56 bytes long
                           P56(11, name15, code16, -1, -2, -3).Bytes() + P56(11, "", "", 0, 0, 0).Bytes();
  LineList lines;
  ASSERT_EQ(ReadP56(file, lines), 0);
  const LineList expected{
      "SC      P1,0.0000,WALL",
      "ENZ     200.2500,100.5000,10.0000",
      "SC      " + name15 + ",0.0000," + code16,
      "ENZ     -2.0000,-1.0000,-3.0000",
      "SC      ,0.0000,",
      "ENZ     0.0000,0.0000,0.0000",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryP56, Termination) {
  const std::string two = P56(11, "A", "", 1, 2, 3).Bytes() + P56(11, "B", "", 1, 2, 3).Bytes();
  LineList lines;
  EXPECT_EQ(ReadP56("", lines), 0);
  EXPECT_EQ(ReadP56("", lines, true), -3);
  for (unsigned bad : {0u, 9u, 12u, 255u}) {
    lines.clear();
    EXPECT_EQ(ReadP56(two + P56(bad, "X", "", 0, 0, 0).Bytes() + P56(11, "C", "", 0, 0, 0).Bytes(), lines), -4);
    EXPECT_EQ(lines.size(), 4u);
  }
  lines.clear();
  EXPECT_EQ(ReadP56(two + std::string(55, '\x0B'), lines), 0);
  EXPECT_EQ(lines.size(), 4u);
  lines.clear();
  EXPECT_EQ(ReadP56(two + std::string(55, '\x0B'), lines, true), -3);
  EXPECT_EQ(lines.size(), 4u);
}

TEST(BinaryP40, EveryRecordIsAPoint) {
  const std::string name16(16, 'x');
  const std::string file = P40("P1", 100.5, 200.25, 10).Bytes() + P40("", 1, 2, 3).Bytes() +
                           P40(name16, 0, 0, 0).Bytes();
  LineList lines;
  ASSERT_EQ(ReadP40(file, lines), 0);
  const LineList expected{
      "SC      P1,0,",     "NEZ     100.5000,200.2500,10.0000",
      "SC      ,0,",       "NEZ     1.0000,2.0000,3.0000",
      "SC      " + name16 + ",0,", "NEZ     0.0000,0.0000,0.0000",
  };
  EXPECT_EQ(lines, expected);
}

TEST(BinaryP40, Termination) {
  LineList lines;
  EXPECT_EQ(ReadP40("", lines), 0);
  EXPECT_EQ(ReadP40(P40("A", 1, 2, 3).Bytes() + std::string(39, 'z'), lines), 0);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(ReadP40(P40("A", 1, 2, 3), lines, true), -3);
  EXPECT_EQ(lines.size(), 4u);
}

TEST(BinaryCoordFile, PathChoosesTheLayout) {
  TempFolder dir;
  const std::string pts = P56(11, "P", "", 1, 2, 3);
  LineList lines;
  EXPECT_EQ(ReadCoordBinary(dir.Write("a.PTS", pts), lines), 0);
  EXPECT_EQ(lines, (LineList{"SC      P,0.0000,", "ENZ     2.0000,1.0000,3.0000"}));

  lines.clear();
  EXPECT_EQ(ReadCoordBinary(dir.Write("a.ptf", P40("Q", 1, 2, 3)), lines), 0);
  EXPECT_EQ(lines, (LineList{"SC      Q,0,", "NEZ     1.0000,2.0000,3.0000"}));

  // ".cor" is looked for before ".pts": the 56 bytes are a cut .cor header.
  lines.clear();
  EXPECT_EQ(ReadCoordBinary(dir.Write("a.cor.pts", pts), lines), -2);
  Record dat(96);
  dat.I8(0, 11).Text(1, "C").F64(56, 1).F64(64, 2).F64(72, 3);
  EXPECT_EQ(ReadCoordBinary(dir.Write("b.Cor", std::string(96, '\0') + dat.Bytes()), lines), 0);
  EXPECT_EQ(lines, (LineList{"SC      C,0.0000,", "ENZ     2.0000,1.0000,3.0000"}));

  // .coo and anything else are read as .mea jobs.
  Record m48(48);
  m48.I8(0, 8).Text(1, "M").F64(24, 1).F64(32, 2).F64(40, 3);
  for (const char* name : {"c.coo", "c.txt", "noext"}) {
    lines.clear();
    EXPECT_EQ(ReadCoordBinary(dir.Write(name, "\x01" + m48.Bytes()), lines), 0) << name;
    EXPECT_EQ(lines, (LineList{"SC      M,0.0000,", "ENZ     2.0000,1.0000,3.0000"})) << name;
  }
  lines.clear();
  EXPECT_EQ(ReadCoordBinary(dir.Write("e.coo", ""), lines), -2);
  EXPECT_EQ(ReadCoordBinary(dir.Write("f.coo", "\x09"), lines), -6);
  EXPECT_TRUE(lines.empty());
}

TEST(BinaryCoordFile, OpenAndReadFailures) {
  TempFolder dir;
  LineList lines;
  for (const char* name : {"m.pts", "m.ptf", "m.cor", "m.coo"})
    EXPECT_EQ(ReadCoordBinary(dir.Path(name), lines), -1) << name;
  for (const char* name : {"d.pts", "d.ptf", "d.cor", "d.coo"}) {
    std::filesystem::create_directories(dir.Path(name));
    EXPECT_EQ(ReadCoordBinary(dir.Path(name), lines), -3) << name;
  }
  EXPECT_EQ(ReadCoordBinary(dir.Write("e.pts", ""), lines), 0);
  EXPECT_EQ(ReadCoordBinary(dir.Write("e.ptf", ""), lines), 0);
  EXPECT_TRUE(lines.empty());
}

// A pipe with no writer would block the open for good; it is refused as unopenable.
TEST(BinaryCoordFile, PipeInTheFilesPlaceIsRefusedAtOnce) {
  TempFolder dir;
  LineList lines;
  for (const char* name : {"p.pts", "p.coo", "p.mea", "p.jbf"}) {
    ASSERT_EQ(::mkfifo(dir.Path(name).c_str(), 0600), 0) << name;
    EXPECT_EQ(ReadCoordBinary(dir.Path(name), lines), -1) << name;
  }
  EXPECT_EQ(ReadMeasureBinary(dir.Path("p.mea"), lines), -1);
  EXPECT_EQ(ReadMeasureBinary(dir.Path("p.jbf"), lines), -1);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace theolink
