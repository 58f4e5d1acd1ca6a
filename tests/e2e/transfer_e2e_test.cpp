// theolink-cli receive and send against theolink-sim over real pseudo-terminals.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <functional>
#include <regex>
#include <thread>

#include "e2e/e2e_process.h"
#include "support/waits.h"

namespace theolink::e2e {
namespace {

// The one raw copy a receive made under the test's folder, or empty.
std::string RawCopyIn(const TempDir& dir) {
  std::string found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir.File("data/theolink/received"), ec)) {
    if (!found.empty()) return "more than one copy";
    found = entry.path().string();
  }
  return found;
}

struct PairResult {
  std::optional<int> Cli;
  std::optional<int> Sim;
  std::string CliErr;
  std::string SimErr;
};

// Starts the simulator, then the command line on the device it names; both must end in time.
PairResult RunPair(const TempDir& dir, std::vector<std::string> simArgs,
                   const std::function<std::vector<std::string>(const std::string&)>& cliArgs,
                   const std::function<void(Child&)>& whileRunning = {}) {
  PairResult r;
  // Raw copies of receives land in the test's folder, never in the user's.
  ::setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  simArgs.insert(simArgs.begin(), Bin("theolink-sim"));
  Child sim(simArgs, dir.File("sim.err"), true);
  EXPECT_TRUE(sim.Started());
  const std::string device = sim.ReadLine(5s);
  EXPECT_FALSE(device.empty()) << "the simulator printed no device";
  if (device.empty()) return r;
  std::vector<std::string> args = cliArgs(device);
  args.insert(args.begin(), Bin("theolink-cli"));
  Child cli(args, dir.File("cli.err"), false, dir.File("cli.out"));
  if (whileRunning) whileRunning(cli);
  r.Cli = cli.Wait(30s);  // a receive may wait its full 20 s for a line
  r.Sim = sim.Wait(5s);
  r.CliErr = ReadFile(dir.File("cli.err"));
  r.SimErr = ReadFile(dir.File("sim.err"));
  return r;
}

PairResult Receive(const TempDir& dir, const std::string& source, const std::vector<std::string>& extra,
                   const std::vector<std::string>& simOptions = {}) {
  std::vector<std::string> simArgs{"export", source};
  simArgs.insert(simArgs.end(), simOptions.begin(), simOptions.end());
  return RunPair(dir, simArgs, [&](const std::string& device) {
    std::vector<std::string> args{"receive", "--port", device};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  });
}

PairResult Send(const TempDir& dir, const std::string& input, const std::vector<std::string>& simOptions = {}) {
  std::vector<std::string> simArgs{"import", dir.File("wire.bin"), "--answer-timeout", "500"};
  simArgs.insert(simArgs.end(), simOptions.begin(), simOptions.end());
  return RunPair(dir, simArgs, [&](const std::string& device) {
    return std::vector<std::string>{"send", "--port", device, input};
  });
}

TEST(TransferEndToEnd, ReceivedMeasurementJobIsWrittenAsItCame) {
  TempDir dir;
  const PairResult r = Receive(dir, Data("job.wkj"), {dir.File("job.txt")});
  ASSERT_EQ(r.Cli, 0) << r.CliErr;
  EXPECT_EQ(r.Sim, 0) << r.SimErr;
  EXPECT_EQ(ReadFile(dir.File("job.txt")), ReadFile(Data("job.wkj")));
  EXPECT_NE(r.CliErr.find("Rx: 7"), std::string::npos) << r.CliErr;
  EXPECT_NE(r.CliErr.find("Operation is complete!"), std::string::npos) << r.CliErr;
  // The raw copy: every byte as it came, in a file named by the date and time, named at the end.
  const std::string copy = RawCopyIn(dir);
  EXPECT_TRUE(std::regex_search(copy, std::regex("/received/\\d{4}-\\d\\d-\\d\\d_\\d{6}\\.txt$"))) << copy;
  EXPECT_EQ(ReadFile(copy), ReadFile(Data("job.wkj")));
  EXPECT_NE(r.CliErr.find("Raw copy of the received bytes: " + copy + "\n"), std::string::npos) << r.CliErr;
}

TEST(TransferEndToEnd, ReceivedCoordinatesLoadAsPointsForTheChosenFormat) {
  TempDir dir;
  const PairResult r = Receive(dir, Data("coords.wkj"), {"--to", "cass", "--no-raw-copy", dir.File("points.dat")});
  ASSERT_EQ(r.Cli, 0) << r.CliErr;
  EXPECT_EQ(ReadFile(dir.File("points.dat")), ReadFile(Data("coords_received.cass")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("data")));
}

TEST(TransferEndToEnd, CodeListSplitAcrossManySmallWritesIsReceivedWhole) {
  TempDir dir;
  const PairResult r = Receive(dir, Data("codes.txt"), {dir.File("codes.txt")}, {"--chunk", "3", "--pace", "5"});
  ASSERT_EQ(r.Cli, 0) << r.CliErr;
  EXPECT_EQ(ReadFile(dir.File("codes.txt")), ReadFile(Data("codes.txt")));
}

TEST(TransferEndToEnd, DataThatDoesNotLoadIsWrittenAsCutOrRefusedNamingTheRawCopy) {
  TempDir dir;
  {
    std::ofstream(dir.File("header.wkj"), std::ios::binary) << "JOB     A1\r\nINST    X\r\n";
  }
  const PairResult raw = Receive(dir, dir.File("header.wkj"), {dir.File("raw.txt")});
  EXPECT_EQ(raw.Cli, 0) << raw.CliErr;
  EXPECT_EQ(ReadFile(dir.File("raw.txt")), "JOB     A1\r\nINST    X\r\n");
  std::filesystem::remove_all(dir.File("data"));

  const PairResult csv = Receive(dir, dir.File("header.wkj"), {"--to", "csv", dir.File("job.csv")});
  EXPECT_EQ(csv.Cli, 1) << csv.CliErr;
  EXPECT_NE(csv.CliErr.find("The file has no valid data!\n"), std::string::npos) << csv.CliErr;
  EXPECT_NE(csv.CliErr.find("Raw copy of the received bytes: " + RawCopyIn(dir) + "\n"), std::string::npos)
      << csv.CliErr;
  EXPECT_FALSE(std::filesystem::exists(dir.File("job.csv")));
}

TEST(TransferEndToEnd, CoordinateListIsSentInWireForm) {
  TempDir dir;
  const PairResult r = Send(dir, Data("coords.csv"));
  ASSERT_EQ(r.Cli, 0) << r.CliErr;
  EXPECT_EQ(r.Sim, 0) << r.SimErr;
  EXPECT_EQ(ReadFile(dir.File("wire.bin")), ReadFile(Data("coords_upload.wire")));
  EXPECT_NE(r.CliErr.find("Sent successfully!"), std::string::npos) << r.CliErr;
}

TEST(TransferEndToEnd, CodeListIsSentWithoutItsEmptyCodes) {
  TempDir dir;
  const PairResult r = Send(dir, Data("codes.txt"), {"--request-crlf"});
  ASSERT_EQ(r.Cli, 0) << r.CliErr;
  EXPECT_EQ(ReadFile(dir.File("wire.bin")), ReadFile(Data("codes_upload.wire")));
  EXPECT_NE(r.CliErr.find("Tx: 4"), std::string::npos) << r.CliErr;
}

TEST(TransferEndToEnd, InstrumentVanishingDuringAReceiveKeepsTheLinesThatCame) {
  TempDir dir;
  const auto start = Clock::now();
  const PairResult r = Receive(dir, Data("job.wkj"), {dir.File("job.txt")}, {"--vanish-after", "5", "--pace", "20"});
  ASSERT_TRUE(r.Cli.has_value()) << "receive hung";
  EXPECT_EQ(*r.Cli, 0) << r.CliErr;
  EXPECT_NE(r.CliErr.find("the link dropped: the device hung up after 5 lines"), std::string::npos) << r.CliErr;
  const std::string job = ReadFile(Data("job.wkj"));
  std::size_t fifth = 0;
  for (int i = 0; i < 5; ++i) fifth = job.find("\r\n", fifth) + 2;
  EXPECT_EQ(ReadFile(dir.File("job.txt")), job.substr(0, fifth));
  // The half line the instrument left in is in the raw copy, not in the lines.
  const std::string copy = ReadFile(RawCopyIn(dir));
  EXPECT_EQ(copy.substr(0, fifth), job.substr(0, fifth));
  EXPECT_GT(copy.size(), fifth);
  EXPECT_LT(Clock::now() - start, 5s);
}

TEST(TransferEndToEnd, RawCopyOfAKilledReceiveHoldsEveryByte) {
  TempDir dir;
  const std::string job = ReadFile(Data("job.wkj"));
  const PairResult r = RunPair(
      dir, {"export", Data("job.wkj"), "--linger", "5000"},
      [&](const std::string& device) {
        return std::vector<std::string>{"receive", "--port", device, dir.File("job.txt")};
      },
      [&](Child& cli) {
        // Killed in the 2 s of silence, before the receive could end and close its copy.
        EXPECT_TRUE(test::WaitUntil([&] { return ReadFile(RawCopyIn(dir)).size() == job.size(); }, 5000ms));
        ::kill(cli.Pid(), SIGKILL);
      });
  EXPECT_EQ(r.Cli, 128 + SIGKILL);
  EXPECT_EQ(ReadFile(RawCopyIn(dir)), job);
  EXPECT_FALSE(std::filesystem::exists(dir.File("job.txt")));
}

TEST(TransferEndToEnd, BytesWithoutLineEndsAreNamedWithTheirLikelyCauses) {
  TempDir dir;
  const PairResult r = Receive(dir, Data("codes.txt"), {dir.File("codes.txt")}, {"--lf-only", "--linger", "30000"});
  ASSERT_EQ(r.Cli, 1) << r.CliErr;
  EXPECT_NE(r.CliErr.find("bytes came, but no line ended in CR LF within 20 s. Likely causes: the instrument's"
                          " line-end setting (it must send CR LF), or a baud rate other than the instrument's"
                          " (115200 here; see --baud)"),
            std::string::npos)
      << r.CliErr;
  EXPECT_NE(r.CliErr.find("Raw copy of the received bytes: "), std::string::npos) << r.CliErr;
  EXPECT_FALSE(std::filesystem::exists(dir.File("codes.txt")));
}

TEST(TransferEndToEnd, InstrumentVanishingDuringASendSaysHowManyLinesWent) {
  TempDir dir;
  const PairResult r = Send(dir, Data("coords.csv"), {"--vanish-after", "1"});
  ASSERT_TRUE(r.Cli.has_value()) << "send hung";
  EXPECT_NE(*r.Cli, 0);
  EXPECT_NE(r.CliErr.find("the link dropped: the device hung up during the transfer\n"), std::string::npos) << r.CliErr;
  EXPECT_NE(r.CliErr.find("1 of 3 lines were sent"), std::string::npos) << r.CliErr;
}

TEST(TransferEndToEnd, InterruptStopsAReceiveWithoutWriting) {
  TempDir dir;
  const PairResult r = RunPair(
      dir, {"export", Data("job.wkj"), "--pace", "300", "--linger", "2000"},
      [&](const std::string& device) {
        return std::vector<std::string>{"receive", "--port", device, dir.File("job.txt")};
      },
      [&](Child& cli) {
        // Stopped in the middle of the export, once its first line has come.
        EXPECT_TRUE(test::WaitUntil([&] { return ReadFile(RawCopyIn(dir)).find("\r\n") != std::string::npos; }, 5000ms));
        ::kill(cli.Pid(), SIGINT);
      });
  ASSERT_TRUE(r.Cli.has_value());
  EXPECT_EQ(*r.Cli, 1) << r.CliErr;
  EXPECT_NE(r.CliErr.find("Stop the operation!"), std::string::npos) << r.CliErr;
  EXPECT_FALSE(std::filesystem::exists(dir.File("job.txt")));
}

// The instrument stops reading while it keeps asking: the line it does not take within its
// time limit ends the send, named, and the instrument holds exactly the lines said whole.
TEST(TransferEndToEnd, ALineTheInstrumentStopsReadingFailsTheSendNamingIt) {
  TempDir dir;
  std::string csv, wire;
  for (int i = 1; i <= 600; ++i) {
    csv += "P" + std::to_string(i) + ",T," + std::to_string(1000 + i) + ".25,2000.5,30\n";
    wire += "P" + std::to_string(i) + " T 0 2000.500000 " + std::to_string(1000 + i) + ".250000 30.000000 0\r\n";
  }
  std::ofstream(dir.File("points.csv"), std::ios::binary) << csv;
  const PairResult r = Send(dir, dir.File("points.csv"), {"--stall-after", "5", "--stall", "6500"});
  ASSERT_TRUE(r.Cli.has_value()) << "send hung";
  EXPECT_EQ(*r.Cli, 1) << r.CliErr;
  EXPECT_EQ(r.CliErr.find("Sent successfully!"), std::string::npos) << r.CliErr;
  const std::smatch m = [&] {
    std::smatch found;
    std::regex_search(r.CliErr, found,
                      std::regex("theolink-cli send: line ([0-9]+) of 600 \\(P([0-9]+)\\) was cut short: the instrument "
                                 "stopped reading; ([0-9]+) lines were sent whole\n"));
    return found;
  }();
  ASSERT_FALSE(m.empty()) << r.CliErr;
  const std::size_t line = std::stoul(m[1].str()), whole = std::stoul(m[3].str());
  EXPECT_EQ(m[2].str(), m[1].str());
  ASSERT_EQ(whole + 1, line);
  std::size_t end = 0;
  for (std::size_t i = 0; i < whole; ++i) end = wire.find("\r\n", end) + 2;
  const std::string got = ReadFile(dir.File("wire.bin"));
  ASSERT_GE(got.size(), end);
  EXPECT_TRUE(got.compare(0, end, wire, 0, end) == 0) << got.substr(0, 100);
  const std::string next = wire.substr(end, wire.find("\r\n", end) + 2 - end);
  EXPECT_LT(got.size() - end, next.size());
  EXPECT_TRUE(got.compare(end, std::string::npos, next, 0, got.size() - end) == 0);
}

TEST(TransferEndToEnd, AReceivePastItsSizeLimitStopsAndKeepsTheRawCopy) {
  TempDir dir;
  const PairResult r = Receive(dir, Data("job.wkj"), {"--max-bytes", "100", dir.File("job.txt")});
  ASSERT_TRUE(r.Cli.has_value());
  EXPECT_EQ(*r.Cli, 1) << r.CliErr;
  EXPECT_NE(r.CliErr.find(", more than the limit of 100 (--max-bytes); nothing written\n"), std::string::npos) << r.CliErr;
  EXPECT_NE(r.CliErr.find("Raw copy of the received bytes: "), std::string::npos) << r.CliErr;
  EXPECT_GT(ReadFile(RawCopyIn(dir)).size(), 100u);
  EXPECT_EQ(ReadFile(Data("job.wkj")).rfind(ReadFile(RawCopyIn(dir)).substr(0, 60), 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir.File("job.txt")));
}

TEST(TransferEndToEnd, HangUpSignalStopsAReceiveOrASendCleanly) {
  for (const bool receive : {true, false}) {
    SCOPED_TRACE(receive ? "receive" : "send");
    TempDir dir;
    const std::vector<std::string> simArgs =
        receive ? std::vector<std::string>{"export", Data("job.wkj"), "--pace", "300", "--linger", "2000"}
                : std::vector<std::string>{"import", dir.File("wire.bin"), "--pace", "1000", "--answer-timeout", "3000"};
    const PairResult r = RunPair(
        dir, simArgs,
        [&](const std::string& device) {
          return receive ? std::vector<std::string>{"receive", "--port", device, dir.File("job.txt")}
                         : std::vector<std::string>{"send", "--port", device, Data("coords.csv")};
        },
        [&](Child& cli) {
          // Once the transfer runs: a receive's first line has come, a send waits for requests.
          EXPECT_TRUE(test::WaitUntil(
              [&] {
                return receive ? ReadFile(RawCopyIn(dir)).find("\r\n") != std::string::npos
                               : ReadFile(dir.File("cli.err")).find("Waiting") != std::string::npos;
              },
              5000ms));
          if (!receive) std::this_thread::sleep_for(1200ms);
          ::kill(cli.Pid(), SIGHUP);
        });
    ASSERT_TRUE(r.Cli.has_value());
    EXPECT_EQ(*r.Cli, 1) << r.CliErr;
    EXPECT_NE(r.CliErr.find("Stop the operation!"), std::string::npos) << r.CliErr;
    if (receive) {
      EXPECT_NE(r.CliErr.find("Raw copy of the received bytes: " + RawCopyIn(dir)), std::string::npos) << r.CliErr;
      EXPECT_FALSE(std::filesystem::exists(dir.File("job.txt")));
    } else {
      EXPECT_EQ(r.CliErr.find("Sent successfully!"), std::string::npos) << r.CliErr;
    }
  }
}

TEST(TransferEndToEnd, MissingDeviceIsAPortSettingsError) {
  TempDir dir;
  Child cli({Bin("theolink-cli"), "receive", "--port", "/dev/theolink-no-such-device", dir.File("out.txt")},
            dir.File("cli.err"), false);
  ASSERT_EQ(cli.Wait(5s), 1);
  const std::string err = ReadFile(dir.File("cli.err"));
  EXPECT_NE(err.find("Serial port settings error!\nUnable to open com port (Error: 2, No such file or directory)\n"
                     "/dev/theolink-no-such-device is not there: is the cable or USB adapter plugged in?"),
            std::string::npos)
      << err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
}

TEST(TransferEndToEnd, MeasurementJobCannotBeSent) {
  TempDir dir;
  Child cli({Bin("theolink-cli"), "send", "--port", "/dev/theolink-no-such-device", Data("job.wkj")},
            dir.File("cli.err"), false);
  ASSERT_EQ(cli.Wait(5s), 1);
  EXPECT_EQ(ReadFile(dir.File("cli.err")),
            "Can not upload an empty file to the instrument!\n"
            "theolink-cli send: send takes coordinates or codes, not a measurement job\n");
}

}  // namespace
}  // namespace theolink::e2e
