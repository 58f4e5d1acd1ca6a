// Every job the parser accepts, written back as keyword lines and read again, gives the
// same records. Jobs are generated with a fixed seed, so a failure always reproduces.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "records/keyword_parser.h"
#include "records/record_formatter.h"

namespace theolink {
namespace {

class JobTextGenerator {
 public:
  explicit JobTextGenerator(unsigned seed, bool exactValues) : rng_(seed), exact_(exactValues) {}

  LineList Job(int records) {
    LineList lines = {"JOB     " + Name() + "J", "INST    " + Name() + "I"};
    for (int i = 0; i < records; ++i) AddRecord(lines);
    return lines;
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }

  // Up to 20 characters with blanks inside, sometimes padded, sometimes empty.
  std::string Name() {
    static constexpr char kChars[] = "ABCPQXYZ0123456789-_. /#";
    if (Chance(10)) return Chance(50) ? "" : "  ";
    std::string name;
    const int length = Pick(1, 20);
    for (int i = 0; i < length; ++i) name += kChars[Pick(0, sizeof kChars - 2)];
    if (Chance(15)) name = " " + name + "\t";
    return name;
  }
  std::string Code() { return Chance(30) ? std::string() : Name(); }

  std::string Seconds() {
    long long s = Pick(-1296000, 1296000);
    std::string text = std::to_string(s);
    if (!exact_ && Chance(50)) text += "." + std::to_string(Pick(0, 999));
    if (Chance(5) && s >= 0) text = "+" + text;
    return text;
  }
  std::string Metres() {
    const long long tenths = static_cast<long long>(Pick(-99999999, 99999999));
    std::string digits = std::to_string(std::llabs(tenths));
    while (digits.size() < 5) digits.insert(0, "0");
    std::string text = (tenths < 0 ? "-" : "") + digits.substr(0, digits.size() - 4) + "." + digits.substr(digits.size() - 4);
    if (!exact_ && Chance(50)) text += std::to_string(Pick(1, 99999));
    if (Chance(10)) text += "0";  // a different spelling of the same value
    if (Chance(10)) text = " " + text + " ";
    return text;
  }

  static std::string Line(std::string keyword, const std::string& value) {
    keyword.resize(8, ' ');
    return keyword + value;
  }

  void AddRecord(LineList& lines) {
    switch (Pick(1, 8)) {
      case 1:
        lines.push_back(Line("STA", Name() + "," + Metres() + "," + Code()));
        lines.push_back(Line("XYZ", Metres() + "," + Metres() + "," + Metres()));
        break;
      case 2:
        lines.push_back(Line("BS", Name() + "," + Metres()));
        lines.push_back(Line("HVD", Seconds() + "," + Seconds() + "," + Metres()));
        break;
      case 3: lines.push_back(Line("BKB", Name() + "," + Seconds() + "," + Seconds())); break;
      case 4:
        lines.push_back(Line("SA", Name() + "," + Metres() + "," + Code()));
        lines.push_back(Line("HV", Seconds() + "," + Seconds()));
        break;
      case 5:
        lines.push_back(Line("SD", Name() + "," + Metres() + "," + Code()));
        lines.push_back(Line("HVD", Seconds() + "," + Seconds() + "," + Metres()));
        break;
      case 6:
      case 7:
        lines.push_back(Line("SC", Name() + "," + Metres() + "," + (Chance(10) ? "BSS" : Code())));
        if (Chance(50)) lines.push_back(Line("HVD", Seconds() + "," + Seconds() + "," + Metres()));
        lines.push_back(Line(Chance(50) ? "ENZ" : "NEZ", Metres() + "," + Metres() + "," + Metres()));
        break;
      default: {
        std::string text = Name();
        if (Chance(30)) text += ",and|more";
        if (Chance(5)) text += std::string(Pick(240, 300), 'n');
        lines.push_back(Line("NOTE", text));
        break;
      }
    }
    if (Chance(5)) lines.push_back(Chance(50) ? "" : "0");
  }

  std::mt19937 rng_;
  bool exact_;
};

struct ParsedJob {
  std::string Name, Instrument;
  std::vector<MeasureRecord> Records;
};

ParsedJob ParseJob(const LineList& lines) {
  ParsedJob job;
  LineList entries;
  EXPECT_EQ(PreprocessLines(lines, entries), 0);
  EXPECT_GE(entries.size(), 2u);
  EXPECT_EQ(ReadJobHeader(entries.at(0), job.Name), 0);
  EXPECT_EQ(ReadInstHeader(entries.at(1), job.Instrument), 0);
  for (std::size_t i = 2; i < entries.size(); ++i) {
    MeasureRecord r;
    EXPECT_EQ(ParseRecordText(entries[i], r), 0) << entries[i];
    job.Records.push_back(r);
  }
  return job;
}

LineList WriteJob(const ParsedJob& job) {
  LineList lines = {"JOB     " + job.Name, "INST    " + job.Instrument};
  for (const MeasureRecord& r : job.Records) SplitRecordText(FormatRecordText(r), lines);
  return lines;
}

// Field by field; the bytes after a text's terminating zero do not count.
::testing::AssertionResult SameRecord(const MeasureRecord& a, const MeasureRecord& b) {
  if (a.Kind != b.Kind) return ::testing::AssertionFailure() << "kind " << a.Kind << " vs " << b.Kind;
  bool same = true;
  switch (a.Kind) {
    case KindStation: {
      const auto &x = a.Station, &y = b.Station;
      same = x.Name == y.Name && x.Code == y.Code && x.InstrumentHeight == y.InstrumentHeight && x.X == y.X &&
             x.Y == y.Y && x.Z == y.Z;
      break;
    }
    case KindBacksight: {
      const auto &x = a.Backsight, &y = b.Backsight;
      same = x.Name == y.Name && x.TargetHeight == y.TargetHeight && x.HorizontalAngle == y.HorizontalAngle &&
             x.VerticalAngle == y.VerticalAngle && x.SlopeDistance == y.SlopeDistance &&
             x.HasBacksightPoint == y.HasBacksightPoint;
      break;
    }
    case KindBearing: {
      const auto &x = a.Bearing, &y = b.Bearing;
      same = x.Name == y.Name && x.FirstAngle == y.FirstAngle && x.SecondAngle == y.SecondAngle;
      break;
    }
    case KindAngleShot: {
      const auto &x = a.AngleShot, &y = b.AngleShot;
      same = x.Name == y.Name && x.Code == y.Code && x.TargetHeight == y.TargetHeight &&
             x.HorizontalAngle == y.HorizontalAngle && x.VerticalAngle == y.VerticalAngle;
      break;
    }
    case KindSlopeShot: {
      const auto &x = a.SlopeShot, &y = b.SlopeShot;
      same = x.Name == y.Name && x.Code == y.Code && x.TargetHeight == y.TargetHeight &&
             x.HorizontalAngle == y.HorizontalAngle && x.VerticalAngle == y.VerticalAngle &&
             x.SlopeDistance == y.SlopeDistance;
      break;
    }
    case KindCoordShot: {
      const auto &x = a.CoordShot, &y = b.CoordShot;
      same = x.Name == y.Name && x.Code == y.Code && x.TargetHeight == y.TargetHeight && x.North == y.North &&
             x.East == y.East && x.Elevation == y.Elevation && x.HasObservation == y.HasObservation &&
             (x.HasObservation == 0 || (x.HorizontalAngle == y.HorizontalAngle &&
                                        x.VerticalAngle == y.VerticalAngle && x.SlopeDistance == y.SlopeDistance));
      break;
    }
    case KindNote: same = a.Note.Text == b.Note.Text; break;
    default: break;
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << FormatRecordText(a) << "\n  vs " << FormatRecordText(b);
}

TEST(RoundTrip, GeneratedJobsReadBackAsTheSameRecords) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    JobTextGenerator generator(seed, /*exactValues=*/true);
    const ParsedJob first = ParseJob(generator.Job(200));
    const LineList written = WriteJob(first);
    const ParsedJob second = ParseJob(written);
    EXPECT_EQ(second.Name, first.Name);
    EXPECT_EQ(second.Instrument, first.Instrument);
    ASSERT_EQ(second.Records.size(), first.Records.size()) << "seed " << seed;
    for (std::size_t i = 0; i < first.Records.size(); ++i)
      ASSERT_TRUE(SameRecord(first.Records[i], second.Records[i])) << "seed " << seed << " record " << i;
    EXPECT_EQ(WriteJob(second), written) << "seed " << seed;
  }
}

// Values finer than the written forms are rounded once; after that the text is stable.
TEST(RoundTrip, FinerValuesSettleAfterOneWrite) {
  for (unsigned seed = 100; seed < 120; ++seed) {
    JobTextGenerator generator(seed, /*exactValues=*/false);
    const ParsedJob first = ParseJob(generator.Job(200));
    const ParsedJob second = ParseJob(WriteJob(first));
    ASSERT_EQ(second.Records.size(), first.Records.size());
    for (std::size_t i = 0; i < first.Records.size(); ++i) {
      const MeasureRecord &a = first.Records[i], &b = second.Records[i];
      if (a.Kind == KindSlopeShot) {
        EXPECT_LE(std::fabs(a.SlopeShot.HorizontalAngle - b.SlopeShot.HorizontalAngle) * 3600, 0.5 + 1e-6);
        EXPECT_LE(std::fabs(a.SlopeShot.SlopeDistance - b.SlopeShot.SlopeDistance), 0.00005 + 1e-9);
      }
    }
    EXPECT_EQ(WriteJob(second), WriteJob(first)) << "seed " << seed;
  }
}

TEST(RoundTrip, TrickyRecords) {
  const LineList job = {
      "JOB      Job with blanks ",
      "INST     ",
      "SD      P 7 , 1.5 ,|HVD     -324000,-1,-0.5",
      "SD      ,0,|HVD     0,0,0",
      "SD      NONAME,0,NONAME|HVD     0,0,0",
      "SC      ABCDEFGHIJKLMN OPQ,-1.25,c o d e|NEZ     -1,-2,-3",
      "BKB     B,-0,-1296000",
      "NOTE    a,b|c  d",
      "NOTE",
  };
  LineList lines;
  for (const std::string& entry : job) SplitRecordText(entry, lines);
  // The headers are not records; they are rebuilt by WriteJob from their values.
  lines[0] = job[0];
  lines[1] = job[1];
  const ParsedJob first = ParseJob(lines);
  EXPECT_EQ(first.Name, " Job with blanks ");
  EXPECT_EQ(first.Instrument, " ");
  ASSERT_EQ(first.Records.size(), 7u);
  EXPECT_EQ(first.Records[1].SlopeShot.Name.View(), "NONAME");
  EXPECT_EQ(first.Records[3].CoordShot.Name.View(), "ABCDEFGHIJKLMN");
  EXPECT_EQ(first.Records[5].Note.Text.View(), "a;b|c  d");
  const LineList written = WriteJob(first);
  const ParsedJob second = ParseJob(written);
  ASSERT_EQ(second.Records.size(), first.Records.size());
  for (std::size_t i = 0; i < first.Records.size(); ++i) EXPECT_TRUE(SameRecord(first.Records[i], second.Records[i]));
  EXPECT_EQ(written, (LineList{"JOB      Job with blanks ", "INST     ", "SD      P 7,1.5000,",
                               "HVD     -324000,-1,-0.5000", "SD      NONAME,0.0000,", "HVD     0,0,0.0000",
                               "SD      NONAME,0.0000,NONAME", "HVD     0,0,0.0000", "SC      ABCDEFGHIJKLMN,-1.2500,c o d e",
                               "ENZ     -2.0000,-1.0000,-3.0000", "BKB     B,0,-1296000", "NOTE    a;b|c  d", "NOTE"}));
}

}  // namespace
}  // namespace theolink
