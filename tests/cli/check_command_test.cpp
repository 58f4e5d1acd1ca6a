#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "records/job_check.h"
#include "records/text_lines.h"

namespace theolink {
namespace {

const std::string kSample = std::string(THEOLINK_TEST_DATA) + "/../../samples/sample.wkj";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SplitTextLines, CutsAtEveryLineEndAndKeepsBytes) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (LineList{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\r\n"), LineList{"a"});
  EXPECT_EQ(SplitTextLines("\r\n\r\n"), (LineList{"", ""}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), (LineList{"a", "", "b"}));  // LF CR is two line ends
  EXPECT_EQ(SplitTextLines(""), LineList{});
  const std::string bytes("x\0\xff\t y", 6);
  EXPECT_EQ(SplitTextLines(bytes + "\r\n"), LineList{bytes});
}

TEST(CheckKeywordJob, SampleJobReads) {
  const JobCheckResult r = CheckKeywordJob(SplitTextLines(ReadFile(kSample)));
  EXPECT_EQ(r.Stage, JobCheckStage::Passed);
  EXPECT_TRUE(r.HasHeaders);
  EXPECT_EQ(r.JobName, "KANALWEG_2026");
  EXPECT_EQ(r.RecordCount, 18u);
}

TEST(CheckKeywordJob, WithoutHeadersRecordsStartAtTheFirstEntry) {
  const JobCheckResult r = CheckKeywordJob({"SC      P1,0,C", "NEZ     1,2,3", "SC      P2,0,C", "ENZ     1,2,3"});
  EXPECT_EQ(r.Stage, JobCheckStage::Passed);
  EXPECT_FALSE(r.HasHeaders);
  EXPECT_EQ(r.JobName, "NONAME");
  EXPECT_EQ(r.InstrumentName, "UNKNOWN");
  EXPECT_EQ(r.RecordCount, 2u);

  // A JOB line without its INST line is not a header pair, so it is read as a record.
  const JobCheckResult lone = CheckKeywordJob({"JOB     A", "SC      P1,0,C", "NEZ     1,2,3"});
  EXPECT_EQ(lone.Stage, JobCheckStage::Record);
  EXPECT_EQ(lone.Code, -4);
  EXPECT_EQ(lone.Position, 1u);
}

TEST(CheckKeywordJob, NamesTheFailingLineOrEntry) {
  JobCheckResult r = CheckKeywordJob({"JOB     A", "", "INST    B", "UNITS   M"});
  EXPECT_EQ(r.Stage, JobCheckStage::Preprocess);
  EXPECT_EQ(r.Code, -2);
  EXPECT_EQ(r.Position, 4u);
  EXPECT_EQ(r.Line, "UNITS   M");
  EXPECT_EQ(PreprocessFailureText(r.Code), "unknown keyword");

  // The window refuses a job of fewer than two lines before it joins any record.
  for (const LineList& shortJob : {LineList{}, LineList{"BKB     B,0,0"}}) {
    r = CheckKeywordJob(shortJob);
    EXPECT_EQ(r.Stage, JobCheckStage::TooFewLines);
    EXPECT_EQ(r.RecordCount, 0u);
  }

  testing::internal::CaptureStdout();
  r = CheckKeywordJob({"JOB     A", "INST    B", "NOTE    x", "SD      P7,x,W", "HVD     1,2,3"});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Excption: 'x' is not a valid floating point value\n");
  EXPECT_EQ(r.Stage, JobCheckStage::Record);
  EXPECT_EQ(r.Code, -5);
  EXPECT_EQ(r.Position, 4u);
  EXPECT_EQ(r.Line, "SD      P7,x,W");
  EXPECT_EQ(r.RecordCount, 1u);
  EXPECT_EQ(RecordFailureText(r.Code), "value is not a number");
}

// The built program, when it is there: exit status and what it prints.
class CheckProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::string(THEOLINK_BIN_DIR) + "/theolink-cli";
    if (!std::filesystem::exists(program_)) GTEST_SKIP() << "theolink-cli is not built";
    // Test programs run side by side; a pointer value is not unique across processes.
    std::string pattern = (std::filesystem::temp_directory_path() / "theolink_check_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  int Run(const std::string& args) {
    const std::string command =
        "'" + program_ + "' " + args + " >'" + (dir_ / "out").string() + "' 2>'" + (dir_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    out_ = ReadFile((dir_ / "out").string());
    err_ = ReadFile((dir_ / "err").string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Write(const std::string& bytes) {
    const auto path = dir_ / "job.wkj";
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  std::string program_, out_, err_;
  std::filesystem::path dir_;
};

TEST_F(CheckProgram, CountsTheSampleRecords) {
  EXPECT_EQ(Run("check '" + kSample + "'"), 0);
  EXPECT_NE(out_.find(": 18 records, job KANALWEG_2026,"), std::string::npos) << out_;
  // A byte-order mark is passed over, as the loader passes over it.
  EXPECT_EQ(Run("check '" + Write("\xEF\xBB\xBFJOB     A\r\nINST    B\r\nNOTE    x\r\n") + "'"), 0) << err_;
  EXPECT_NE(out_.find(": 1 records, job A,"), std::string::npos) << out_;
}

TEST_F(CheckProgram, ReportsTheFailingEntry) {
  const std::string path = Write("JOB     A\rINST    B\nSD      P1,1,C\r\nHV      1,2\r\n");
  EXPECT_EQ(Run("check '" + path + "'"), 1);
  EXPECT_NE(err_.find("entry 3 (SD      P1,1,C): load record item failed: wrong number of items (-2)"),
            std::string::npos)
      << err_;
  EXPECT_EQ(Run("check '" + Write("BKB     B,0,0\r\n") + "'"), 1);
  EXPECT_NE(err_.find("2 lines expected at least"), std::string::npos) << err_;
  EXPECT_EQ(Run("check '" + Write("JOB     A\r\nXYZ     1,2,3\r\n") + "'"), 1);
  EXPECT_NE(err_.find("line 2 (XYZ     1,2,3): preprocess lines failed: continuation line"), std::string::npos)
      << err_;
}

TEST_F(CheckProgram, FileTextIsEchoedVisibleAndDiagnosticsStayOffStandardOutput) {
  const std::string path = Write("JOB     A\r\nINST    B\r\nSD      P1,\x1b]0;x\x07" + std::string(400, 'y') + "\r\n");
  EXPECT_EQ(Run("check '" + path + "'"), 1);
  EXPECT_EQ(err_.find('\x1b'), std::string::npos) << err_;
  EXPECT_NE(err_.find("(SD      P1,\\x1B]0;x\\x07yyy"), std::string::npos) << err_;
  EXPECT_NE(err_.find("y...): load record item failed"), std::string::npos) << err_;
  EXPECT_EQ(Run("show '" + Write("JOB     A\r\nINST    B\r\nNOTE    x\r\nSD      P7,x,W\r\nHVD     1,2,3\r\n") + "'"), 1);
  EXPECT_EQ(out_.find("Excption"), std::string::npos) << out_;
  EXPECT_NE(err_.find("Excption: 'x' is not a valid floating point value\n"), std::string::npos) << err_;
}

TEST_F(CheckProgram, UsageAndUnreadableFile) {
  EXPECT_EQ(Run("check --help"), 0);
  EXPECT_EQ(out_.rfind("Usage: theolink-cli check FILE", 0), 0u);
  EXPECT_EQ(Run("check"), 2);
  EXPECT_EQ(Run("check '" + (dir_ / "missing.wkj").string() + "'"), 1);
  EXPECT_NE(err_.find("cannot read"), std::string::npos);
  // A pipe in the file's place is refused, not waited on.
  const auto pipe = dir_ / "pipe.wkj";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(Run("check '" + pipe.string() + "'"), 1);
  EXPECT_NE(err_.find("cannot read"), std::string::npos);
}

TEST_F(CheckProgram, DumpPrintsTheLinesAndNamesAReadFailure) {
  const auto pts = dir_ / "list.PTS";
  std::string point(56, '\0'), bad(56, '\0');
  point.replace(0, 3, "\x0bP1");
  bad[0] = 12;
  std::ofstream(pts, std::ios::binary) << point << bad;
  EXPECT_EQ(Run("dump '" + pts.string() + "'"), 1);
  EXPECT_EQ(out_, "SC      P1,0.0000,\nENZ     0.0000,0.0000,0.0000\n");
  EXPECT_EQ(err_, pts.string() + ": undefined data type in file\n");
  const auto mea = dir_ / "P1.MEA";
  std::ofstream(mea, std::ios::binary | std::ios::trunc);
  EXPECT_EQ(Run("dump '" + mea.string() + "'"), 1);
  EXPECT_EQ(err_, mea.string() + ": file is empty\n");
  const auto job = dir_ / "P1.JOB";
  std::ofstream(job, std::ios::binary) << "\x01\x02\x03";  // ends inside the header: not empty
  EXPECT_EQ(Run("dump '" + job.string() + "'"), 1);
  EXPECT_EQ(err_, job.string() + ": Wrong file format.\n");
  EXPECT_EQ(Run("dump '" + (dir_ / "none.pts").string() + "'"), 1);
  EXPECT_EQ(err_, (dir_ / "none.pts").string() + ": file not exists or permission denny\n");
  EXPECT_EQ(Run("dump '" + Write("x") + "'"), 1);
  EXPECT_NE(err_.find("not a binary job or coordinate file"), std::string::npos);
}

}  // namespace
}  // namespace theolink
