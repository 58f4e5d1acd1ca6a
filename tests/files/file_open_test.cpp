#include "files/file_open.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "files/job_file_save.h"
#include "files/line_file.h"
#include "files/line_pipe.h"
#include "files/save_writers.h"
#include "files/task_progress.h"
#include "files/line_loaders.h"
#include "records/record_formatter.h"
#include "support/mea_record.h"
#include "support/temp_dir.h"
#include "test_support.h"

namespace theolink {
namespace {

namespace fs = std::filesystem;
using test::MeaRecord;

class FileOpenTest : public ::testing::Test {
 protected:

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  test::TempDir tmp_{"theolink_open"};
  fs::path dir_{tmp_.Path()};
};

// "北京" in GBK: a CASS file with a Chinese point name.
const std::string kChineseCass = "\xB1\xB1\xBE\xA9,T1,10.5,20.5,3.0\r\nP2,,1,2,3\r\n";

TEST_F(FileOpenTest, ProbeCodes) {
  EXPECT_EQ(ProbeFileKind((dir_ / "missing").string()), -1);
  EXPECT_EQ(ProbeFileKind(Write("empty.txt", "")), -2);
  EXPECT_EQ(ProbeFileKind(Write("t.txt", "P1,T1,1,2,3\r\n\t\f\v")), ProbeText);
  EXPECT_EQ(ProbeFileKind(Write("b.bin", std::string("AB\0C", 4))), ProbeBinary);
  EXPECT_EQ(ProbeFileKind(Write("c.txt", kChineseCass)), ProbeBinary);
  // Only the first 100 bytes are looked at.
  EXPECT_EQ(ProbeFileKind(Write("late.txt", std::string(100, 'a') + "\x80")), ProbeText);
  // A pipe or a device in the file's place cannot be opened; it must not block or run on.
  const fs::path pipe = dir_ / "pipe.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ProbeFileKind(pipe.string()), -1);
  EXPECT_EQ(ProbeFileKind("/dev/zero"), -1);
  EXPECT_EQ(ProbeFileKind(dir_.string()), -1);
}

TEST_F(FileOpenTest, EmptyFileIsReportedAndViewsStay) {
  WorkingData d = test::Sentinel();
  const OpenOutcome o = OpenDataFile(d, Write("empty.txt", ""), Settings{});
  ASSERT_EQ(o.Messages.size(), 1u);
  EXPECT_EQ(o.Messages[0].Id, TextId::FileIsEmpty);
  EXPECT_FALSE(o.RefreshViews);
  EXPECT_EQ(d.PointList.size(), 1u);
}

TEST_F(FileOpenTest, BlankTextFileAndUnknownText) {
  WorkingData d = test::Sentinel();
  OpenOutcome o = OpenDataFile(d, Write("blank.txt", "  \r\n\r\n"), Settings{});
  ASSERT_EQ(o.Messages.size(), 1u);
  EXPECT_EQ(o.Messages[0].Id, TextId::UnableToOpenEmptyFile);
  EXPECT_TRUE(o.RefreshViews);
  o = OpenDataFile(d, Write("bad.txt", "1.5\r\n"), Settings{});
  ASSERT_EQ(o.Messages.size(), 1u);
  EXPECT_EQ(o.Messages[0].Id, TextId::WrongFileFormat);
  EXPECT_EQ(d.PointList.size(), 1u);
  EXPECT_EQ(d.DataKind, DataKind::Coord);
}

TEST_F(FileOpenTest, ChineseCassTextOpensThoughItProbesBinary) {
  for (const char* name : {"cn.txt", "cn.csv", "cn.dat"}) {
    WorkingData d;
    const OpenOutcome o = OpenDataFile(d, Write(name, kChineseCass), Settings{});
    EXPECT_TRUE(o.Messages.empty()) << name;
    EXPECT_EQ(d.DataKind, DataKind::Coord) << name;
    ASSERT_EQ(d.PointList.size(), 2u) << name;
    EXPECT_EQ(d.PointList[0].Name.View(), "\xB1\xB1\xBE\xA9");
  }
}

// Between one and two 96-byte blocks the binary .dat reader finds a header and no record
// at all, and reports success: the points must not turn into an empty job.
TEST_F(FileOpenTest, ChineseCassDatTooShortForABinaryRecordStillOpensAsPoints) {
  std::string text = kChineseCass;
  while (text.size() < 130) text += "P3,,1,2,3\r\n";
  ASSERT_LT(text.size(), 192u);
  WorkingData d;
  const OpenOutcome o = OpenDataFile(d, Write("short.dat", text), Settings{});
  EXPECT_TRUE(o.Messages.empty());
  EXPECT_EQ(d.DataKind, DataKind::Coord);
  EXPECT_GE(d.PointList.size(), 3u);
  EXPECT_TRUE(d.MeasurementList.empty());
}

TEST_F(FileOpenTest, BinaryBytesWithoutAReaderAndNoTextMeaningAreRefused) {
  WorkingData d = test::Sentinel();
  const OpenOutcome o = OpenDataFile(d, Write("x.bin", std::string("\x01\x02\xff garbage", 11)), Settings{});
  ASSERT_EQ(o.Messages.size(), 1u);
  EXPECT_EQ(o.Messages[0].Id, TextId::WrongFileFormat);
  EXPECT_EQ(d.PointList.size(), 1u);
}

TEST_F(FileOpenTest, KeywordTextOpensAsMeasurementJob) {
  WorkingData d;
  const OpenOutcome o =
      OpenDataFile(d, Write("j.wkj", "JOB     A1\r\nINST    X\r\nSC      P1,0.0000,\nENZ     1,2,3\r"), Settings{});
  EXPECT_TRUE(o.Messages.empty());
  EXPECT_EQ(d.DataKind, DataKind::Measure);
  EXPECT_EQ(d.JobName, "A1");
  EXPECT_EQ(d.MeasurementList.size(), 1u);
}

TEST_F(FileOpenTest, AByteOrderMarkIsReadOverInTextFiles) {
  const struct {
    const char* name;
    const char* text;
    DataKind kind;
    std::string firstName;
  } cases[] = {
      {"j.wkj", "JOB     A1\r\nINST    X\r\nSC      P1,0.0000,\r\nENZ     1,2,3\r\n", DataKind::Measure, "A1"},
      {"p.csv", "P1,T1,1,2,3\r\n", DataKind::Coord, "P1"},
      {"c.txt", "TREE\r\nWALL\r\n", DataKind::Code, "TREE"},
  };
  for (const auto& c : cases) {
    WorkingData d;
    const OpenOutcome o = OpenDataFile(d, Write(c.name, std::string("\xEF\xBB\xBF") + c.text), Settings{});
    EXPECT_TRUE(o.Messages.empty()) << c.name;
    EXPECT_EQ(d.DataKind, c.kind) << c.name;
    const std::string first = c.kind == DataKind::Measure ? d.JobName
                              : c.kind == DataKind::Coord ? std::string(d.PointList.at(0).Name.View())
                                                        : std::string(d.CodeList.at(0).Code.View());
    EXPECT_EQ(first, c.firstName) << c.name;
  }
}

// One 40-byte .ptf record: name in 16 bytes, then north, east, elevation as doubles.
std::string PtfRecord(const std::string& name, double n, double e, double z) {
  std::string record(40, '\0');
  record.replace(0, name.size(), name);
  std::memcpy(&record[16], &n, 8);
  std::memcpy(&record[24], &e, 8);
  std::memcpy(&record[32], &z, 8);
  return record;
}

TEST_F(FileOpenTest, BinaryCoordinatesAreMetresWhateverTheDisplayUnit) {
  Settings feet;
  feet.DistanceUnit = 1;
  WorkingData d;
  const OpenOutcome o = OpenDataFile(d, Write("P.PTF", PtfRecord("A1", 100, 200, 5) + PtfRecord("", 1, 2, 3)), feet);
  EXPECT_TRUE(o.Messages.empty());
  EXPECT_EQ(d.DataKind, DataKind::Coord);
  ASSERT_EQ(d.PointList.size(), 2u);
  EXPECT_DOUBLE_EQ(d.PointList[0].North, 100.0);
  EXPECT_DOUBLE_EQ(d.PointList[0].East, 200.0);
  EXPECT_TRUE(d.JobName.empty());
}

TEST_F(FileOpenTest, LongBinaryPointNamesAreCutAndCounted) {
  WorkingData d = test::Sentinel();
  const OpenOutcome o = OpenDataFile(d, Write("long.ptf", PtfRecord("ABCDEFGHIJKLMNOP", 1, 2, 3)), Settings{});
  EXPECT_TRUE(o.Messages.empty());
  ASSERT_EQ(d.PointList.size(), 1u);
  EXPECT_EQ(d.PointList[0].Name.View(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(d.Cuts.Count, 1u);
}

TEST_F(FileOpenTest, UnreadableBinaryJobKeepsTheDataButSwitchesToTheJobView) {
  WorkingData d = test::Sentinel();
  const OpenOutcome o = OpenDataFile(d, Write("bad.MEA", std::string(300, '\xff')), Settings{});
  ASSERT_EQ(o.Messages.size(), 1u);
  ASSERT_TRUE(o.Messages[0].Id.has_value());
  EXPECT_NE(o.Messages[0].Id, TextId::LoadSuccessfully);
  EXPECT_TRUE(o.RefreshViews);
  EXPECT_EQ(d.DataKind, DataKind::Measure);
  EXPECT_EQ(d.PointList.size(), 1u);
}

TEST_F(FileOpenTest, BinaryJobIsNamedAfterItsFile) {
  WorkingData d = test::Sentinel();
  const OpenOutcome o = OpenDataFile(d, Write("Site 4.MEA", "\x01" + MeaRecord(1, "ST1", 2000, 1000, 50)), Settings{});
  EXPECT_TRUE(o.Messages.empty());
  EXPECT_EQ(d.DataKind, DataKind::Measure);
  EXPECT_EQ(d.JobName, "Site 4");
  EXPECT_EQ(d.InstrumentName, "TotalStation");
  ASSERT_EQ(d.MeasurementList.size(), 1u);
  EXPECT_DOUBLE_EQ(d.MeasurementList[0].Station.Y, 2000);
  EXPECT_TRUE(d.PointList.empty());
}

// A header and no record is an empty job named after the file, never text made of header bytes.
TEST_F(FileOpenTest, HeaderOnlyBinaryJobOpensAsAnEmptyJob) {
  WorkingData d = test::Sentinel();
  const std::string header = std::string("TS-JOB", 6) + std::string(90, '\0');
  const OpenOutcome o = OpenDataFile(d, Write("EMPTY.dat", header), Settings{});
  EXPECT_TRUE(o.Messages.empty());
  EXPECT_EQ(d.DataKind, DataKind::Measure);
  EXPECT_EQ(d.JobName, "EMPTY");
  EXPECT_TRUE(d.MeasurementList.empty());
  EXPECT_TRUE(d.CodeList.empty());
  EXPECT_TRUE(d.PointList.empty());
}

TEST_F(FileOpenTest, BinaryJobThatDoesNotParseShowsTheLoaderTextThenWrongFormat) {
  WorkingData d = test::Sentinel();
  // A comma in a stored name gives a line with one field too many.
  const OpenOutcome o = OpenDataFile(d, Write("p.mea", "\x01" + MeaRecord(8, "A,B", 1, 2, 3)), Settings{});
  ASSERT_EQ(o.Messages.size(), 2u);
  EXPECT_EQ(o.Messages[0].Text, "ERROR: load record item failed");
  EXPECT_EQ(o.Messages[0].Caption, "Error");
  EXPECT_EQ(o.Messages[1].Id, TextId::WrongFileFormat);
  EXPECT_TRUE(o.RefreshViews);
  EXPECT_EQ(d.DataKind, DataKind::Measure);
  ASSERT_EQ(d.PointList.size(), 1u);
}

TEST(FileNames, StemAndBinaryExtension) {
  EXPECT_EQ(FileNameStem("/data/jobs/P1.MEA"), "P1");
  EXPECT_EQ(FileNameStem("/jobs/site.a.job"), "site.a");
  EXPECT_EQ(FileNameStem("/jobs/site:3.mea"), "site:3");
  EXPECT_EQ(FileNameStem("/data/.mea"), "NONAME");
  EXPECT_EQ(FileNameStem("plain"), "plain");
  EXPECT_EQ(BinaryExtension("/x/P1.MEA"), ".mea");
  EXPECT_EQ(BinaryExtension("/x/p.ptfx"), ".ptf");
  EXPECT_EQ(BinaryExtension("/x.d/p"), "");
}

TEST(FileNames, RemoveBlankLinesKeepsTheRestAsItIs) {
  LineList lines = {"a ", "", " \t", "\r", " b"};
  RemoveBlankLines(lines);
  EXPECT_EQ(lines, (LineList{"a ", " b"}));
}

TEST(Messages, ProbeAndReaderTables) {
  EXPECT_EQ(ProbeMessage(1).Text, "NO ERROR(Text File)");
  EXPECT_EQ(ProbeMessage(2).Text, "NO ERROR(Binary File)");
  EXPECT_EQ(ProbeMessage(-1).Id, TextId::UnableToOpenFile);
  EXPECT_EQ(ProbeMessage(7).Id, TextId::UndefinedErrorCode);
  EXPECT_EQ(BinaryReadMessage(-1).Id, TextId::FileNotExists);
  EXPECT_EQ(BinaryReadMessage(-6).Id, TextId::IncorrectFileFormat);
  EXPECT_EQ(BinaryReadMessage(-7).Id, TextId::UndefinedErrorCode);
}

TEST_F(FileOpenTest, LineFileReadsEveryLineBreakKind) {
  LineList lines;
  ASSERT_TRUE(ReadTextLines(Write("mixed.txt", "a\r\nb\nc\rd\r\n"), lines));
  EXPECT_EQ(lines, (LineList{"a", "b", "c", "d"}));
  EXPECT_FALSE(ReadTextLines((dir_ / "none").string(), lines));
  EXPECT_EQ(lines.size(), 4u) << "a failed read leaves the list alone";
}

TEST_F(FileOpenTest, LinesReadABlockAtATimeAreCutAsAWholeReadCutsThem) {
  // Every break kind, empty lines and lines longer than a block, so that breaks (and the two
  // bytes of a CR LF) fall on every block edge; a byte-order mark first.
  std::string text = "\xEF\xBB\xBF";
  const char* const breaks[] = {"\r\n", "\n", "\r", "\r\n\r\n", "\r\r"};
  for (int i = 0; i < 60; ++i) text += std::string(static_cast<std::size_t>(i * 7 % 41), 'a' + i % 26) + breaks[i % 5];
  text += "last without break";
  const std::string path = Write("blocks.txt", text);
  LineList whole;
  ASSERT_TRUE(ReadTextLines(path, whole));
  for (std::size_t block = 16; block <= 48; ++block) {
    FileLineSource source(path, block);
    for (int pass = 0; pass < 2; ++pass) {
      LineList read;
      std::string_view line;
      while (source.Next(line)) read.emplace_back(line);
      EXPECT_EQ(read, whole) << "block " << block << ", pass " << pass;
      ASSERT_TRUE(source.Rewind());
    }
    EXPECT_FALSE(source.Failed());
  }

  // A job read this way loads as the whole file does.
  const std::string job = "JOB     A1\r\nINST    X\r\nSTA     S1,1.5,\r\nXYZ     1,2,3\r\nSC      P1,0.0000,\r\nENZ     1,2,3\r\n";
  WorkingData whole_job, streamed;
  OpenDataFile(whole_job, Write("j.wkj", job), Settings{});
  FileLineSource lines((dir_ / "j.wkj").string(), 16);
  ASSERT_TRUE(TryLoadMeasureLines(streamed, lines));
  EXPECT_EQ(streamed.JobName, whole_job.JobName);
  ASSERT_EQ(streamed.MeasurementList.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(FormatRecordText(streamed.MeasurementList[i]), FormatRecordText(whole_job.MeasurementList[i]));
  FileLineSource missing((dir_ / "none").string());
  EXPECT_FALSE(TryLoadMeasureLines(streamed, missing));
  EXPECT_EQ(streamed.JobName, "A1") << "a file that does not read changes nothing";
}

// A file's bytes without the second LandXML stamps it with: two saves of one job may fall
// in different seconds.
std::string Unstamped(std::string bytes) {
  if (const auto at = bytes.find(" date=\""); at != std::string::npos)
    bytes.erase(at, bytes.find(' ', bytes.find(" time=\"", at) + 1) - at);
  return bytes;
}

TEST_F(FileOpenTest, JobSavedStraightFromItsFileIsTheSaveOfTheOpenedJob) {
  // Shots to join on both sides of every run edge, a cut name, every other kind; and a
  // binary job, which reads into keyword lines first.
  std::string text = "JOB     RUNS\r\nINST    X\r\nSTA     S1,1.5,STN\r\nXYZ     1,2,3\r\n";
  for (int i = 0; i < 1600; ++i) {
    const std::string n = std::to_string(i);
    if (i % 2 == 0) {
      text += "SC      P" + n + ",1.3,\r\nENZ     " + n + ",2,3\r\nSD      P" + n + ",1.3,\r\nHVD     1,2," + n + "\r\n";
    } else {
      text += "BS      B" + n + ",1.6\r\nHVD     1,2,3\r\nSC      B" + n + ",1.6,BSS\r\nENZ     4,5," + n + "\r\n";
    }
    if (i % 97 == 0)
      text += "NOTE    a, b\r\nSA      A" + n + ",1.2,\r\nHV      1,2\r\nBKB     K,1,2\r\n"
              "SD      NAME_LONGER_THAN_15,1,\r\nHVD     1,2,3\r\n";
  }
  const std::string mea = "\x01" + MeaRecord(1, "ST1", 2000, 1000, 50) + MeaRecord(8, "P2", 1, 2, 3);
  const std::string inputs[] = {Write("runs.wkj", text), Write("noheads.wkj", text.substr(text.find("STA"))),
                                Write("Site.mea", mea)};
  const std::string opened = (dir_ / "opened.gt7").string(), straight = (dir_ / "straight.gt7").string();
  Settings placed;
  placed.Crs = "EPSG:32650";  // for GeoJSON and KML
  for (const std::string& input : inputs) {
    WorkingData data;
    ASSERT_TRUE(OpenDataFile(data, input, Settings{}).Messages.empty());
    for (const SaveFormat& format : SaveFormats()) {
      if (format.Kind != DataKind::Measure) continue;
      SCOPED_TRACE(input + ", format " + std::string(format.English));
      ASSERT_TRUE(SaveDataFile(data, format, opened, placed).Ok());
      std::size_t cuts = 0;
      const auto saved = SaveJobFileAs(input, format, straight, placed, cuts);
      ASSERT_TRUE(saved && saved->Ok());
      EXPECT_EQ(cuts, data.Cuts.Count);
      EXPECT_EQ(Unstamped(ReadFile(straight)), Unstamped(ReadFile(opened)));
    }
  }

  // A record that fails after the first runs: nothing written, the target as it was.
  const std::string bad = Write("bad.wkj", text + "SD      X,abc,\r\nHVD     1,2,3\r\n");
  std::size_t cuts = 0;
  const SaveFormat& csv = *FindSaveFormat(DataKind::Measure, "csv");
  EXPECT_FALSE(SaveJobFileAs(bad, csv, straight, Settings{}, cuts));
  EXPECT_EQ(ReadFile(straight), ReadFile(opened));
  EXPECT_FALSE(SaveJobFileAs(Write("pts.txt", "P1,,1,2,3\r\n"), *FindSaveFormat(DataKind::Measure, "cass"), straight, Settings{}, cuts));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 7u) << "no temporary file left";
}

// Counts the reports of a save; the one after the first `cancelAt` cancels it.
class CountingProgress final : public TaskProgress {
 public:
  explicit CountingProgress(std::size_t cancelAt = SIZE_MAX) : cancelAt_(cancelAt) {}
  void Report(std::uint64_t, std::uint64_t) override {
    if (reports++ == cancelAt_) throw TaskCancelled{};
  }
  void Check() override {}
  std::size_t reports = 0;

 private:
  std::size_t cancelAt_;
};

// Watched saves write a job a run of records at a time: the bytes must be those of one go,
// also for the writers that carry state from run to run (GTS-7, the drawing's points).
TEST_F(FileOpenTest, SaveWithProgressWritesTheSameBytesAndACancelKeepsTheOldFile) {
  std::string text = "JOB     RUNS\r\nINST    X\r\nSTA     S1,1.5,STN\r\nXYZ     1,2,3\r\n";
  for (int i = 0; i < 24000; ++i) {
    const std::string n = std::to_string(i);
    text += i % 2 == 0 ? "SC      P" + n + ",1.3,C\r\nHVD     1,2," + n + "\r\nENZ     " + n + ",2,3\r\n"
                       : "BS      B" + n + ",1.6\r\nHVD     1,2,3\r\nSD      D" + n + ",1.3,\r\nHVD     " + n + ",2,3\r\n";
  }
  WorkingData data;
  ASSERT_TRUE(OpenDataFile(data, Write("runs.wkj", text), Settings{}).Messages.empty());
  ASSERT_GT(data.MeasurementList.size(), 2 * kProgressStep);
  const std::string plain = (dir_ / "plain.gt7").string(), watched = (dir_ / "watched.gt7").string();
  Settings placed;
  placed.Crs = "EPSG:32650";  // for GeoJSON and KML
  for (const SaveFormat& format : SaveFormats()) {
    if (format.Kind != DataKind::Measure) continue;
    SCOPED_TRACE(std::string(format.English));
    ASSERT_TRUE(SaveDataFile(data, format, plain, placed).Ok());
    CountingProgress progress;
    ASSERT_TRUE(SaveDataFile(data, format, watched, placed, &progress).Ok());
    EXPECT_GT(progress.reports, 2u);
    EXPECT_EQ(Unstamped(ReadFile(watched)), Unstamped(ReadFile(plain)));
  }

  const std::string old = Write("old.txt", "OLD\r\n");
  CountingProgress cancel(1);
  EXPECT_THROW(SaveDataFile(data, *FindSaveFormat(DataKind::Measure, "csv"), old, Settings{}, &cancel), TaskCancelled);
  EXPECT_EQ(ReadFile(old), "OLD\r\n");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 4u) << "runs.wkj, plain, watched and old: no temporary file is left";
}

TEST(LinePipe, HandsEveryLineOverInOrderAndLetsAnAbandonedMakerFinish) {
  // Enough lines for many blocks, of every length up to more than a block.
  LineList sent;
  for (int i = 0; i < 40000; ++i) sent.push_back(std::string(static_cast<std::size_t>(i * 13 % 97), 'a' + i % 26));
  sent.push_back(std::string(100000, 'z'));
  sent.push_back("");
  LinePipe pipe;
  std::thread maker([&] {
    for (const std::string& line : sent) pipe.Add(line);
    pipe.Close(true);
  });
  std::string_view line;
  ASSERT_TRUE(pipe.Next(line) && pipe.Next(line) && pipe.Rewind());
  LineList got;
  while (pipe.Next(line)) got.emplace_back(line);
  maker.join();
  EXPECT_EQ(got, sent);
  EXPECT_TRUE(pipe.Failed());
  EXPECT_FALSE(pipe.Rewind()) << "the first block is gone";

  LinePipe abandoned;
  std::thread stuck([&] {
    for (const std::string& line : sent) abandoned.Add(line);
    abandoned.Close(false);
  });
  ASSERT_TRUE(abandoned.Next(line));
  abandoned.Abandon();
  stuck.join();  // would wait for ever on a reader that gave up
}

TEST_F(FileOpenTest, SavedLinesAndEndedTextKeepTheirOrderOverEveryBlock) {
  // Lines and ready-made text in pieces of every size, over several blocks of the writer.
  const std::string path = (dir_ / "mixed.txt").string();
  std::string expected;
  {
    AtomicLineFile file(path);
    for (int i = 0; i < 3000; ++i) {
      const std::string line(static_cast<std::size_t>(i * 37 % 301), 'a' + i % 26);
      const std::string ended = std::string(static_cast<std::size_t>(i * 53 % 499), '0' + i % 10) + "\r\n";
      file.Add(line);
      file.AddEnded(ended);
      expected += line + "\r\n" + ended;
    }
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(FileOpenTest, WriteIsWholeOrNothing) {
  const std::string target = Write("out.txt", "old\r\n");
  ASSERT_TRUE(WriteTextLines(target, {"x", "", "\xB1\xB1"}));
  std::ifstream in(target, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "x\r\n\r\n\xB1\xB1\r\n");

  // A target that is a directory cannot be replaced: reported, nothing left behind.
  fs::create_directory(dir_ / "taken");
  EXPECT_FALSE(WriteTextLines((dir_ / "taken").string(), {"x"}));
  EXPECT_FALSE(WriteTextLines((dir_ / "no" / "such.txt").string(), {"x"}));
  // An export abandoned half-way (never committed) leaves the old file and no trace.
  {
    AtomicLineFile partial(target);
    ASSERT_TRUE(partial.IsOpen());
    partial.Add("half");
  }
  std::ifstream again(target, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
            "x\r\n\r\n\xB1\xB1\r\n");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2u) << "only out.txt and taken/";
}

}  // namespace
}  // namespace theolink
