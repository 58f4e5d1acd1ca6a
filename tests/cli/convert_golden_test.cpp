// theolink-cli convert and show, run as a user would, against hand-checked golden files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/save_formats.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(THEOLINK_TEST_DATA) / "export";
const fs::path kCli = fs::path(THEOLINK_BIN_DIR) / "theolink-cli";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct CliRun {
  int Status;
  std::string Out, Err;
};

class CliTest : public ::testing::Test {
 protected:

  // shellPrefix runs first in the same shell (a ulimit, say).
  CliRun Cli(const std::string& args, const std::string& shellPrefix = "") {
    const std::string out = (dir_ / "stdout").string(), err = (dir_ / "stderr").string();
    const std::string command = shellPrefix + "'" + kCli.string() + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return CliRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
  }
  std::string In(const char* name) { return "'" + (kData / name).string() + "'"; }
  std::string Out(const char* name) { return (dir_ / name).string(); }

  theolink::test::TempDir tmp_{"theolink_cli"};
  fs::path dir_{tmp_.Path()};
};

struct GoldenCase {
  const char* Input;
  const char* Format;
  const char* Options;
  const char* OutputName;
  const char* Golden;
};

constexpr const char* kMetreDms = "";
constexpr const char* kGonIntFeet = "--angle gon --distance int-ft --k 0.14 --grid-scale 0.95";
constexpr const char* kUsFeetEnz = "--distance us-ft --coord-order enz";

constexpr const char* kSample = "../../../samples/sample.wkj";
// Made by expected_shots.py from known truth: both faces, face II alone, instrument errors.
constexpr const char* kFaces = "faces.wkj";
constexpr const char* kFacesScale = "--k 0.14 --grid-scale 0.9996";

const GoldenCase kCases[] = {
    {"job.wkj", "csv", kMetreDms, "o.csv", "job.dms_m.csv"},
    {"job.wkj", "cass", kMetreDms, "o.dat", "job.dms_m.cass.dat"},
    {"job.wkj", "dxf", kMetreDms, "o.dxf", "job.dms_m.dxf"},
    {"job.wkj", "gt7-hd", kMetreDms, "o.gt7", "job.dms_m.hd.gt7"},
    {"job.wkj", "gt7-sd", kMetreDms, "o.gt7", "job.dms_m.sd.gt7"},
    {"job.wkj", "gt7-all", kMetreDms, "o.gt7", "job.dms_m.all.gt7"},
    {"job.wkj", "gts7-coord", kMetreDms, "o.txt", "job.dms_m.gts7coord.txt"},
    {"job.wkj", "wkj", kMetreDms, "o.wkj", "job.wkj.expected"},
    {"job.wkj", "csv", kGonIntFeet, "o.csv", "job.gon_intft.csv"},
    {"job.wkj", "cass", kGonIntFeet, "o.dat", "job.gon_intft.cass.dat"},
    {"job.wkj", "dxf", kGonIntFeet, "o.dxf", "job.gon_intft.dxf"},
    {"job.wkj", "gt7-hd", kGonIntFeet, "o.gt7", "job.gon_intft.hd.gt7"},
    {"job.wkj", "gt7-sd", kGonIntFeet, "o.gt7", "job.gon_intft.sd.gt7"},
    {"job.wkj", "gt7-all", kGonIntFeet, "O.GT7", "job.gon_intft.all.gt7"},
    {"job.wkj", "gts7-coord", kGonIntFeet, "o.txt", "job.gon_intft.gts7coord.txt"},
    {"job.wkj", "wkj", kGonIntFeet, "o.wkj", "job.wkj.expected"},
    {"coords.dat", "cass", kMetreDms, "o.dat", "coords.m.cass.dat"},
    {"coords.dat", "dxf", kMetreDms, "o.dxf", "coords.m.dxf"},
    {"coords.dat", "gts7-coord", kMetreDms, "o.txt", "coords.m.gts7coord.txt"},
    {"coords.dat", "cass", kUsFeetEnz, "o.dat", "coords.usft.cass.dat"},
    {"coords.dat", "dxf", kUsFeetEnz, "o.dxf", "coords.usft.dxf"},
    {"coords.dat", "gts7-coord", kUsFeetEnz, "o.txt", "coords.usft.gts7coord.txt"},
    {"codes.txt", "codes", kMetreDms, "o.txt", "codes.expected.txt"},
    {"codes.txt", "codes", kGonIntFeet, "o.txt", "codes.expected.txt"},
    {"chinese_cass.txt", "dxf", kMetreDms, "o.dxf", "chinese_cass.dxf"},
    // Reduced shots: expected_shots.py computes them from the sample job on its own.
    {kSample, "cass", "--compute-shots", "o.dat", "sample.shots.m.cass.dat"},
    {kSample, "gts7-coord", "--compute-shots --distance int-ft --k 0.14 --grid-scale 0.95", "o.txt",
     "sample.shots.intft.gts7coord.txt"},
    {kFaces, "cass", "--compute-shots --k 0.14 --grid-scale 0.9996", "o.dat", "faces.shots.cass.dat"},
    // For other software: UTF-8, the GBK names decoded, markup and separators escaped.
    {"geo_points.txt", "landxml", kUsFeetEnz, "o.xml", "geo_points.usft.xml"},
    {"geo_points.txt", "geojson", "--crs EPSG:4547", "o.geojson", "geo_points.geojson"},
    {"geo_points.txt", "kml", "--crs EPSG:4547", "o.kml", "geo_points.kml"},
    {"geo_points.txt", "gis-csv", kUsFeetEnz, "o.csv", "geo_points.usft_enz.csv"},
    {"geo_points.txt", "gis-csv-sc", kMetreDms, "o.csv", "geo_points.sc.csv"},
    {"geo_points.txt", "gis-csv-tab", kMetreDms, "o.txt", "geo_points.tab.txt"},
    {"geo_job.wkj", "landxml", "--compute-shots", "o.xml", "geo_job.shots.xml"},
    {"geo_job.wkj", "kml", "--crs EPSG:4547", "o.kml", "geo_job.kml"},  // the station drawn apart
    {"geo_job.wkj", "geojson", "--compute-shots --crs EPSG:4547 --distance int-ft", "o.geojson",
     "geo_job.shots.intft.geojson"},
};

TEST_F(CliTest, EveryFormatMatchesItsGoldenFile) {
  setenv("SOURCE_DATE_EPOCH", "1767225600", 1);  // the LandXML date: 2026-01-01
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(std::string(c.Input) + " --to " + c.Format + " " + c.Options);
    const std::string out = Out(c.OutputName);
    fs::remove(out);
    const CliRun r = Cli("convert " + In(c.Input) + " '" + out + "' --to " + c.Format + " " + c.Options);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(ReadAll(out), ReadAll(kData / c.Golden));
  }
  // Every format the table names has its golden file here.
  for (const theolink::SaveFormat& format : theolink::SaveFormats()) {
    if (format.Help.empty()) continue;
    EXPECT_TRUE(std::any_of(std::begin(kCases), std::end(kCases),
                            [&format](const GoldenCase& c) { return c.Format == format.Name; }))
        << "no golden case for " << format.Name;
  }
}

TEST_F(CliTest, WrittenFilesOpenAgainAsTheSameData) {
  // A work file converts back to itself; coordinates in feet survive a second pass.
  ASSERT_EQ(Cli("convert " + In("job.wkj") + " " + Out("a.wkj") + " --to wkj").Status, 0);
  ASSERT_EQ(Cli("convert " + Out("a.wkj") + " " + Out("b.wkj") + " --to wkj").Status, 0);
  EXPECT_EQ(ReadAll(Out("b.wkj")), ReadAll(Out("a.wkj")));
  ASSERT_EQ(Cli("convert " + In("coords.dat") + " " + Out("a.txt") + " --to gts7-coord --distance int-ft").Status, 0);
  ASSERT_EQ(Cli("convert " + Out("a.txt") + " " + Out("b.dat") + " --to cass --distance int-ft").Status, 0);
  ASSERT_EQ(Cli("convert " + In("coords.dat") + " " + Out("c.dat") + " --to cass --distance int-ft").Status, 0);
  EXPECT_EQ(ReadAll(Out("b.dat")), ReadAll(Out("c.dat")));
}

TEST_F(CliTest, Gts7RefusalsWriteNothing) {
  CliRun r = Cli("convert " + In("job.wkj") + " " + Out("job.txt") + " --to gt7-sd");
  EXPECT_NE(r.Status, 0);
  EXPECT_NE(r.Err, "");
  EXPECT_FALSE(fs::exists(Out("job.txt")));
  r = Cli("convert " + In("job.wkj") + " " + Out("job.gt7") + " --to gt7-all --angle mil");
  EXPECT_NE(r.Status, 0);
  EXPECT_EQ(r.Err, Out("job.gt7") + ": The angle unit MIL does NOT support exporting as GTS-7 file.\n");
  EXPECT_FALSE(fs::exists(Out("job.gt7")));
}

TEST_F(CliTest, OpenFailuresKeepAnExistingOutput) {
  std::ofstream(Out("keep.dat"), std::ios::binary) << "old";
  CliRun r = Cli("convert " + Out("missing.dat") + " " + Out("keep.dat") + " --to cass");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, Out("missing.dat") + ": unable to open file\n" + Out("missing.dat") + ": No such file or directory\n");
  std::ofstream(Out("bad.txt"), std::ios::binary) << "1.5\r\n";
  r = Cli("convert " + Out("bad.txt") + " " + Out("keep.dat") + " --to cass");
  EXPECT_EQ(r.Err, Out("bad.txt") + ": Wrong file format.\n");
  // A job whose record fails is read again the ordinary way: its diagnostic comes once.
  std::ofstream(Out("bad.wkj"), std::ios::binary) << "JOB     A\r\nINST    B\r\nSD      X,abc,\r\nHVD     1,2,3\r\n";
  r = Cli("convert " + Out("bad.wkj") + " " + Out("keep.dat") + " --to cass --overwrite");
  EXPECT_EQ(r.Err, "Excption: 'abc' is not a valid floating point value\n" + Out("bad.wkj") + ": Wrong file format.\n");
  std::ofstream(Out("empty.txt"), std::ios::binary) << "";
  r = Cli("convert " + Out("empty.txt") + " " + Out("keep.dat") + " --to cass");
  EXPECT_EQ(r.Err, Out("empty.txt") + ": file is empty\n");
  EXPECT_EQ(ReadAll(Out("keep.dat")), "old");
}

TEST_F(CliTest, FormatMustSuitTheDataAndOptionsMustBeKnown) {
  CliRun r = Cli("convert " + In("coords.dat") + " " + Out("o.csv") + " --to csv");
  EXPECT_EQ(r.Status, 2);
  EXPECT_NE(r.Err.find("cass dxf gts7-coord"), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(Out("o.csv")));
  EXPECT_EQ(Cli("convert " + In("codes.txt") + " " + Out("o.txt") + " --to codes --grid-scale 1.2").Status, 2);
  EXPECT_EQ(Cli("convert " + In("codes.txt") + " " + Out("o.txt") + " --to codes --angle rad").Status, 2);
  r = Cli("convert " + In("job.wkj") + " " + Out("o.gt7") + " --to gt7-hd --grid-scale 0.99960001");
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "--grid-scale 0.99960001: The grid scale keeps at most six decimals (for example 0.9996 or "
                   "1.000123).\n");
  EXPECT_FALSE(fs::exists(Out("o.gt7")));
  EXPECT_EQ(Cli("convert " + In("codes.txt") + " --to codes").Status, 2);
  EXPECT_FALSE(fs::exists(Out("o.txt")));
  r = Cli("convert --help");
  EXPECT_EQ(r.Status, 0);
  // The listing is the save format table's.
  for (const theolink::SaveFormat& format : theolink::SaveFormats()) {
    if (format.Help.empty()) continue;
    const std::string line =
        "  " + std::string(format.Name) + std::string(12 - format.Name.size(), ' ') + std::string(format.Help) + "\n";
    EXPECT_NE(r.Out.find(line), std::string::npos) << format.Name;
  }
  EXPECT_NE(r.Out.find("--coord-order"), std::string::npos);
}

// An export that would hold no point, or that lacks its coordinate system, writes nothing and
// says why, naming the output.
TEST_F(CliTest, EmptyOrUnplacedExportsAreRefusedWithTheReason) {
  struct Refusal {
    const char* Input;
    const char* Options;
    const char* Message;
  };
  const Refusal cases[] = {
      {"sd_only.wkj", "--to cass",
       "The job holds no coordinate point: its SD shots become points only when shot coordinates are computed "
       "(Setting, compute shot coordinates; --compute-shots on the command line). Nothing was written."},
      {"sd_only.wkj", "--to landxml --compute-shots", "No coordinate point in the measurement data."},
      {"coords.dat", "--to kml",
       "GeoJSON and KML need the coordinate system the points are in: choose it under Setting, or give "
       "--crs EPSG:NNNN on the command line. Nothing was written."},
      {"geo_job.wkj", "--to geojson",
       "GeoJSON and KML need the coordinate system the points are in: choose it under Setting, or give "
       "--crs EPSG:NNNN on the command line. Nothing was written."},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(std::string(c.Input) + " " + c.Options);
    const CliRun r = Cli("convert " + In(c.Input) + " " + Out("o.out") + " " + c.Options);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, Out("o.out") + ": " + c.Message + "\n");
    EXPECT_FALSE(fs::exists(Out("o.out")));
  }
  const CliRun r = Cli("convert " + In("coords.dat") + " " + Out("o.kml") + " --to kml --crs EPSG:4326");
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "--crs: EPSG:4326 is no projected coordinate system that PROJ knows.\n");
}

TEST_F(CliTest, BatchConvertsEachInputBesideTheOthersAndNamesTheOnesThatFail) {
  fs::create_directory(Out("out"));
  std::ofstream(Out("broken.txt"), std::ios::binary) << "1.5\r\n";
  CliRun r = Cli("convert --to landxml --output-dir " + Out("out") + " " + In("geo_points.txt") + " " +
                 Out("broken.txt") + " " + In("sd_only.wkj") + " " + In("geo_job.wkj"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, (kData / "geo_points.txt").string() + " -> " + Out("out/geo_points.xml") + "\n" +
                       (kData / "geo_job.wkj").string() + " -> " + Out("out/geo_job.xml") + "\n");
  EXPECT_NE(r.Err.find(Out("broken.txt") + ": Wrong file format.\n"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find(Out("out/sd_only.xml") + ": The job holds no coordinate point"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("2 of 4 files converted; not converted: " + Out("broken.txt") + " " +
                       (kData / "sd_only.wkj").string() + "\n"),
            std::string::npos)
      << r.Err;
  EXPECT_EQ(std::distance(fs::directory_iterator(Out("out")), fs::directory_iterator()), 2);
  // Two inputs of one name would write one output: the second is refused, not written over.
  fs::create_directory(Out("other"));
  fs::copy_file(kData / "geo_points.txt", Out("other/geo_points.txt"));
  r = Cli("convert --to gis-csv --output-dir " + Out("out") + " " + In("geo_points.txt") + " " +
          Out("other/geo_points.txt"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(Out("other/geo_points.txt") + ": its output " + Out("out/geo_points.csv") + " is that of "),
            std::string::npos)
      << r.Err;
  r = Cli("convert --to gis-csv --overwrite --output-dir " + Out("out") + " " + In("geo_points.txt") + " " +
          kUsFeetEnz);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(ReadAll(Out("out/geo_points.csv")), ReadAll(kData / "geo_points.usft_enz.csv"));
  EXPECT_EQ(Cli("convert --to nothing --output-dir " + Out("out") + " " + In("geo_points.txt")).Status, 2);
  EXPECT_EQ(Cli("convert --to cass --output-dir " + Out("missing") + " " + In("geo_points.txt")).Status, 2);
}

TEST_F(CliTest, ShotsAreCountedAndResidualsShown) {
  CliRun r = Cli("convert " + In(kSample) + " " + Out("o.dxf") + " --to dxf --compute-shots");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Shots reduced: 5; not reduced: 3 (1 without distance, 2 at a station without backsight coordinates)\n");
  // P4's stored coordinates do not fit its observation: the residual shows it.
  r = Cli("show " + In(kSample) + " --residuals");
  ASSERT_EQ(r.Status, 0) << r.Err;
  // The residual rows, then the station check they belong to.
  EXPECT_EQ(r.Out, ReadAll(kData / "sample.residuals.m.txt") + "\n" + Cli("show " + In(kSample) + " --station-check").Out);
  r = Cli("show " + In("coords.dat") + " --residuals");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "--residuals needs a measurement job\n");
  EXPECT_EQ(Cli("convert " + In(kSample) + " " + Out("o.dat") + " --to cass --residuals").Status, 2);

  r = Cli("convert " + In(kFaces) + " " + Out("f.dat") + " --to cass --compute-shots");
  EXPECT_EQ(r.Out, "Shots reduced: 10; not reduced: 0\n"
                   "Targets read in both faces: 3; each gives the mean of its two faces.\n");
  r = Cli("show " + In(kFaces) + " --station-check --lang en " + kFacesScale);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, ReadAll(kData / "faces.check.txt"));
  r = Cli("show " + In("coords.dat") + " --station-check");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "--station-check needs a measurement job\n");
  r = Cli("show " + In(kFaces) + " --station-check --angle-tolerance -5");
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Err, "--angle-tolerance must be a positive number\n");
  // The limits are the options': looser ones leave every warning out.
  r = Cli("show " + In(kFaces) + " --station-check --lang en --length-tolerance 0.04 --angle-tolerance=30 " +
          kFacesScale);
  EXPECT_NE(r.Out.find("; warnings past 0.0400 for lengths and 0.0030 for angles\n"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.find("Warning"), std::string::npos) << r.Out;
}

TEST_F(CliTest, ShowPrintsTheGridInOrderAndUnit) {
  const CliRun r = Cli("show " + In("coords.dat") + " " + kUsFeetEnz);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "Point Num\tPoint name\tEast coordinates\tNorth coordinates\tElevation(Z)\tCode\n"
            "#1\tP1\t10.5000\t20.5000\t3.0000\tT1\n"
            "#2\tP2\t1000.1234\t2000.5678\t-1.2500\t\n"
            "#3\tP3\t-5.0000\t3000.0000\t0.0000\tWALL\n"
            "#4\tPT4\t123456.7891\t654321.0123\t99.9999\tT4\n"
            "Total: 4\n");
}

TEST_F(CliTest, ShowPrintsTheTextViewAndCountsEveryRecord) {
  const CliRun r = Cli("show " + In("job.wkj"));
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.substr(0, 29), "JOB     DEMO\nINST    GTS-7\nST");
  EXPECT_NE(r.Out.find("SC      P7,1.5000,WALL\nHVD     90.0000,88.3000,25.1230\n"), std::string::npos);
  EXPECT_EQ(r.Out.find("BKB"), std::string::npos);
  EXPECT_NE(r.Out.find("\nTotal: 10\n"), std::string::npos);
  const CliRun codes = Cli("show " + In("codes.txt"));
  EXPECT_EQ(codes.Out, "Point Num\tCode\n#1\tT1\n#2\t\n#3\tWALL\n#4\tTREE   \nTotal: 4\n");
}

// Long names load cut to 15 with a word on stderr; "-" writes the same text to stdout.
TEST_F(CliTest, LongNamesAreCutAndReported) {
  const std::string input = (kData / "long_names.txt").string();
  const CliRun r = Cli("convert '" + input + "' - --to cass");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, ReadAll(kData / "long_names.cass.dat"));
  EXPECT_EQ(r.Err, input + ": 3 names or codes longer than 15 characters cut to 15\n" + input +
                       ": points STATION-NORTH-0001 and STATION-NORTH-0002 now share the name STATION-NORTH-0\n");
}

// Each refused OUTPUT gets a message naming it, a non-zero exit, and stays byte for byte.
TEST_F(CliTest, OutputIsNeverReplacedBySurprise) {
  const std::string input = Out("in.dat");
  fs::copy_file(kData / "coords.dat", input);
  std::ofstream(Out("old.dat"), std::ios::binary) << "old";
  fs::create_symlink(input, Out("in-link.dat"));
  fs::create_directory(Out("folder"));
  ASSERT_EQ(::mkfifo(Out("fifo").c_str(), 0600), 0);
  const std::pair<std::string, const char*> refused[] = {
      {Out("old.dat"), "already exists"},     {input, "is the input file"},
      {Out("in-link.dat"), "is the input file"}, {dir_.string() + "/./in.dat", "is the input file"},
      {"/dev/null", "is a device"},           {Out("fifo"), "is a FIFO"},
      {Out("folder"), "is a folder"},         {Out("none/o.dat"), "No such file or directory"},
  };
  for (const auto& [output, reason] : refused) {
    // --overwrite only lifts the refusal of an existing file.
    const std::string overwrite = output == Out("old.dat") ? "" : " --overwrite";
    const CliRun r = Cli("convert '" + input + "' '" + output + "' --to cass" + overwrite);
    EXPECT_NE(r.Status, 0) << output;
    EXPECT_EQ(r.Err.rfind(output + ": ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(reason), std::string::npos) << r.Err;
  }
  EXPECT_EQ(ReadAll(Out("old.dat")), "old");
  EXPECT_EQ(ReadAll(input), ReadAll(kData / "coords.dat"));
  EXPECT_TRUE(fs::is_fifo(Out("fifo")));
  if (::geteuid() != 0) {  // root writes into any folder
    fs::create_directory(Out("ro"));
    fs::permissions(Out("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    const CliRun r = Cli("convert '" + input + "' '" + Out("ro/o.dat") + "' --to cass");
    EXPECT_NE(r.Status, 0);
    EXPECT_NE(r.Err.find("Permission denied"), std::string::npos) << r.Err;
    fs::permissions(Out("ro"), fs::perms::owner_all);
  }
  // receive says so before it opens the port (which does not exist here).
  CliRun r = Cli("receive --port /dev/theolink-no-such-port '" + Out("old.dat") + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "theolink-cli receive: " + Out("old.dat") + ": already exists; add --overwrite to replace it\n");
  r = Cli("receive --port /dev/theolink-no-such-port --to gt7-hd '" + Out("job.txt") + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(Out("job.txt") + ": "), std::string::npos) << r.Err;
  EXPECT_EQ(r.Err.find("port"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadAll(Out("old.dat")), "old");

  EXPECT_EQ(Cli("convert '" + input + "' '" + Out("old.dat") + "' --to cass --overwrite").Status, 0);
  EXPECT_EQ(ReadAll(Out("old.dat")), ReadAll(kData / "coords.m.cass.dat"));
}

TEST_F(CliTest, SavingThroughASymlinkReplacesItsTargetAndKeepsTheLink) {
  std::ofstream(Out("target.dat"), std::ios::binary) << "old";
  fs::permissions(Out("target.dat"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("target.dat", Out("link.dat"));
  const CliRun r = Cli("convert " + In("coords.dat") + " '" + Out("link.dat") + "' --to cass --overwrite");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(fs::is_symlink(Out("link.dat")));
  EXPECT_EQ(ReadAll(Out("target.dat")), ReadAll(kData / "coords.m.cass.dat"));
  EXPECT_EQ(fs::status(Out("target.dat")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A write the file system refuses part way: a full 64 KiB tmpfs where mounting is allowed,
// else a file size limit. The old file stays and no temporary file is left.
TEST_F(CliTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  const fs::path folder = dir_ / "small";
  fs::create_directory(folder);
  const bool mounted = std::system(("mount -t tmpfs -o size=64k tmpfs '" + folder.string() + "' 2>/dev/null").c_str()) == 0;
  {
    std::ofstream big(Out("big.dat"), std::ios::binary);
    for (int i = 0; i < 4000; ++i) big << "P" << i << ",T1,1000.1234,2000.5678,30.9999\r\n";
  }
  const std::string output = (folder / "o.dat").string();
  std::ofstream(output, std::ios::binary) << "old";
  const std::string limit = mounted ? "" : "ulimit -f 8; ";
  const CliRun r = Cli("convert '" + Out("big.dat") + "' '" + output + "' --to cass --overwrite", limit);
  EXPECT_NE(r.Status, 0);
  EXPECT_NE(r.Err.find(output + ": "), std::string::npos) << r.Err;
  EXPECT_EQ(ReadAll(output), "old");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1u) << "no temporary file beside the output";
  if (mounted) std::system(("umount '" + folder.string() + "'").c_str());
}

// SIGTERM while the temporary file is being written: it is removed, the old output stays.
TEST_F(CliTest, InterruptedSaveRemovesItsTemporaryFile) {
  {
    std::ofstream big(Out("big.dat"), std::ios::binary);
    for (int i = 0; i < 300000; ++i) big << "P" << i << ",T1,1000.1234,2000.5678,30.9999\r\n";
  }
  std::ofstream(Out("o.dxf"), std::ios::binary) << "old";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::execl(kCli.c_str(), "theolink-cli", "convert", Out("big.dat").c_str(), Out("o.dxf").c_str(), "--to", "dxf",
            "--overwrite", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const auto temporary = [&] {
    for (const auto& e : fs::directory_iterator(dir_))
      if (e.path().filename().string().rfind(".o.dxf.", 0) == 0) return true;
    return false;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!temporary() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  ::kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before the signal; make the input larger";
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(ReadAll(Out("o.dxf")), "old");
  EXPECT_FALSE(temporary());
}

}  // namespace
