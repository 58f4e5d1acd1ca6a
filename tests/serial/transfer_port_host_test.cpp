// The port part of a transfer on a real pseudo-terminal: the test plays the instrument on
// the master side while a queue loop pumps the port's events and the timer on this thread.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "serial/raw_receive_copy.h"
#include "serial/transfer_loop.h"
#include "serial/transfer_port_host.h"
#include "serial/transfer_send_lines.h"
#include "support/com_error_assert.h"
#include "support/pty_instrument.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"
#include "support/waits.h"

namespace theolink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::PtyInstrument;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Rig {
  explicit Rig(const std::string& device, const std::string& rawCopyFolder = {}) {
    SetUpTransferPort(port, device, br115200, 115200, dispatcher);
    host.Bind(controller);
    if (!rawCopyFolder.empty()) {
      copy = std::make_unique<RawReceiveCopy>(rawCopyFolder);
      controller.SetRawCopy(copy.get());
    }
  }
  // Runs the started transfer to its end; true when a stop request ended it.
  bool Run() { return loop.RunUntilFinished(controller); }

  QueueDispatcher dispatcher;
  TComPort port;
  DeadlineTimer timer;
  test::RecordingView view;
  PortTransferHost host{port, timer, view};
  WorkingData data;
  TransferController controller{host, data};
  QueueTransferLoop loop{dispatcher, timer};
  std::unique_ptr<RawReceiveCopy> copy;
};

TEST(TransferPortHost, ReceivesOverAPseudoTerminalAndEndsAfterTwoSecondsOfSilence) {
  PtyInstrument pty;
  Rig rig(pty.Path());
  ASSERT_EQ(rig.controller.StartReceive(), StartResult::Started);
  EXPECT_TRUE(rig.port.Connected());
  std::thread instrument([&] {
    pty.Send("TREE\r\nWA");
    std::this_thread::sleep_for(50ms);  // the instrument's pace: a line split over two writes
    pty.Send("LL\r\n\r\nPOLE\r\nhalf");
  });
  const auto start = Clock::now();
  EXPECT_FALSE(rig.Run());
  const auto took = Clock::now() - start;
  instrument.join();
  EXPECT_GE(took, 2000ms);
  EXPECT_LT(took, 5000ms);
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.controller.Lines(), (LineList{"TREE", "WALL", "", "POLE"}));
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Codes);
  EXPECT_EQ(rig.data.CodeList.size(), 4u);
  EXPECT_EQ(rig.view.counter, (std::pair{TextId::RxPrefix, 2}));
  EXPECT_FALSE(rig.controller.LinkDropped());
}

// A cable pulled after the last line, or in the middle of one: the lines cut so far load at
// once, and the raw copy holds every byte that came.
TEST(TransferPortHost, HangUpDuringAReceiveLoadsTheLinesCutSoFar) {
  struct Case {
    std::string sent;
    LineList lines;
  };
  for (const Case& c : {Case{"TREE\r\nWALL\r\n", {"TREE", "WALL"}}, Case{"TREE\r\nWA", {"TREE"}}}) {
    test::TempDir dir;
    PtyInstrument pty;
    Rig rig(pty.Path(), dir.Path() + "/received");
    ASSERT_EQ(rig.controller.StartReceive(), StartResult::Started);
    pty.Send(c.sent);
    // The hang-up throws away what the port has not read yet: let it read first.
    ASSERT_TRUE(test::PumpUntil(rig.dispatcher, [&] { return rig.controller.ReceivedByteCount() == c.sent.size(); }));
    pty.CloseMaster();
    const auto start = Clock::now();
    EXPECT_FALSE(rig.Run());
    EXPECT_LT(Clock::now() - start, 1500ms) << c.sent;
    EXPECT_TRUE(rig.controller.LinkDropped());
    EXPECT_FALSE(rig.port.Connected());
    EXPECT_EQ(rig.controller.Lines(), c.lines);
    EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Codes);
    EXPECT_EQ(rig.data.CodeList.size(), c.lines.size());
    EXPECT_EQ(rig.view.LastStatus(), TextId::OperationComplete);
    ASSERT_FALSE(rig.controller.RawCopyPath().empty());
    EXPECT_EQ(ReadFile(rig.controller.RawCopyPath()), c.sent);
  }
}

TEST(TransferPortHost, HangUpDuringASendEndsItAtOnce) {
  PtyInstrument pty;
  Rig rig(pty.Path());
  rig.data.CodeList.resize(3);
  ASSERT_EQ(rig.controller.StartSend({"TREE", "WALL", "POLE"}), StartResult::Started);
  pty.Send("\r");
  ASSERT_TRUE(test::PumpUntil(rig.dispatcher, [&] { return rig.controller.TransferCount() == 1; }));
  EXPECT_EQ(pty.ReceiveLine(2000ms), "TREE\r\n");
  pty.CloseMaster();
  const auto start = Clock::now();
  EXPECT_FALSE(rig.Run());
  EXPECT_LT(Clock::now() - start, 1500ms);
  EXPECT_TRUE(rig.controller.LinkDropped());
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.controller.TransferCount(), 1);
  EXPECT_EQ(rig.view.LastStatus(), TextId::Stopped);
}

TEST(TransferPortHost, AnswersRequestsAndTreatsAHangUpAfterTheLastAsTheEnd) {
  PtyInstrument pty;
  Rig rig(pty.Path());
  rig.data.CodeList.resize(2);
  ASSERT_EQ(rig.controller.StartSend({"TREE", " WALL "}), StartResult::Started);
  std::string wire;
  std::thread instrument([&] {
    for (int i = 0; i < 2; ++i) {
      pty.Send("\r\n");
      wire += pty.ReceiveLine(2000ms);
    }
    pty.Send("\r");
    // The last request is answered with nothing: wait until the port has taken it.
    test::WaitUntil([&] { return rig.controller.TransferState() == TransferIdle; });
    pty.CloseMaster();
  });
  const auto start = Clock::now();
  EXPECT_FALSE(rig.Run());
  instrument.join();
  EXPECT_LT(Clock::now() - start, 1900ms);
  EXPECT_EQ(wire, "TREE\r\nWALL\r\n");
  EXPECT_EQ(rig.controller.TransferCount(), 2);
  EXPECT_TRUE(rig.view.EverShown(TextId::SentSuccessfully));
  EXPECT_EQ(rig.view.LastStatus(), TextId::OperationComplete);
  EXPECT_FALSE(rig.controller.LinkDropped());
  EXPECT_FALSE(rig.port.Connected());
}

struct StallCase {
  const char* what;
  bool coordinates;
  int lines;
  std::chrono::milliseconds stall;  // the instrument keeps asking but reads nothing
  bool cut;                         // longer than a line's time limit
};

// The instrument stops reading while it keeps asking, so the port's buffer fills, then reads
// again: every line it got is whole, and a line cut short ends the send with its name.
TEST(TransferPortHost, AnInstrumentThatStopsReadingGetsWholeLinesOrTheSendFailsNamingTheLine) {
  const StallCase cases[] = {
      {"coordinates, stall past the line's limit", true, 600, 6500ms, true},
      {"codes, stall past the line's limit", false, 1500, 4000ms, true},
      {"codes, stall within the line's limit", false, 1500, 1000ms, false},
  };
  for (const StallCase& c : cases) {
    SCOPED_TRACE(c.what);
    PtyInstrument pty;
    Rig rig(pty.Path());
    LineList lines;
    if (c.coordinates) {
      for (int i = 1; i <= c.lines; ++i) {
        PointRecord p;
        p.Name.Assign("P" + std::to_string(i));
        p.Code.Assign("T");
        p.North = 1000 + i;
        p.East = 2000.5;
        p.Elevation = 30.25;
        rig.data.PointList.push_back(p);
      }
      rig.data.DataKind = DataKind::Coord;
      lines = SendLinesFor(rig.data);
    } else {
      rig.data.CodeList.resize(1);
      rig.data.DataKind = DataKind::Code;
      for (int i = 1; i <= c.lines; ++i) lines.push_back("CODE-" + std::to_string(100000 + i) + "-AB");
    }
    ASSERT_EQ(rig.controller.StartSend(lines), StartResult::Started);
    std::string wire;
    std::thread instrument([&] {
      for (int i = 0; i < 5; ++i) {
        pty.Send("\r");
        wire += pty.ReceiveLine(2000ms);
      }
      const auto resume = Clock::now() + c.stall;
      while (Clock::now() < resume) {
        pty.Send("\r");
        std::this_thread::sleep_for(200us);
      }
      // Read what the port's buffer held until the line stays quiet.
      for (std::string part; !(part = pty.Receive(4096, 700ms)).empty();) wire += part;
      while (rig.controller.TransferState() == TransferSending) {
        pty.Send("\r");
        wire += pty.ReceiveLine(1000ms);
      }
    });
    EXPECT_FALSE(rig.Run());
    instrument.join();
    std::string whole;
    if (c.cut) {
      ASSERT_EQ(rig.view.cuts.size(), 1u);
      const SendCut& cut = rig.view.cuts[0];
      ASSERT_EQ(cut.Line, cut.WholeLines + 1);
      ASSERT_LT(cut.WholeLines, lines.size());
      EXPECT_EQ(cut.Total, lines.size());
      EXPECT_TRUE(cut.Error.empty()) << cut.Error;
      const std::string cutLine = lines[cut.WholeLines] + "\r\n";
      EXPECT_EQ(cut.Name, c.coordinates ? "P" + std::to_string(cut.Line) : lines[cut.WholeLines]);
      for (std::size_t i = 0; i < cut.WholeLines; ++i) whole += lines[i] + "\r\n";
      ASSERT_GE(wire.size(), whole.size()) << "line " << cut.Line;
      ASSERT_TRUE(wire.compare(0, whole.size(), whole) == 0) << "the lines sent whole differ";
      const std::string rest = wire.substr(whole.size());
      EXPECT_LT(rest.size(), cutLine.size());
      EXPECT_EQ(cutLine.substr(0, rest.size()), rest);
      EXPECT_FALSE(rig.view.EverShown(TextId::SentSuccessfully));
    } else {
      EXPECT_TRUE(rig.view.cuts.empty());
      for (const std::string& line : lines) whole += line + "\r\n";
      EXPECT_TRUE(wire == whole) << wire.size() << " bytes came of " << whole.size();
      EXPECT_TRUE(rig.view.EverShown(TextId::SentSuccessfully));
    }
    EXPECT_FALSE(rig.port.Connected());
  }
}

TEST(TransferPortHost, StopRequestedFromAnotherThreadEndsTheTransfer) {
  PtyInstrument pty;
  Rig rig(pty.Path());
  ASSERT_EQ(rig.controller.StartReceive(), StartResult::Started);
  std::thread user([&] { rig.loop.RequestStop(); });
  EXPECT_TRUE(rig.Run());
  user.join();
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.view.LastStatus(), TextId::Stopped);
}

TEST(TransferPortHost, MissingDeviceFailsToStartWithTheComponentsMessage) {
  Rig rig("/dev/theolink-no-such-device");
  EXPECT_EQ(rig.controller.StartReceive(), StartResult::PortFailed);
  EXPECT_EQ(rig.host.OpenErrorText(), "Unable to open com port (Error: 2, No such file or directory)");
  EXPECT_EQ(OpenProblemOf(rig.host.OpenErrorCode()), PortOpenProblem::Missing);
  EXPECT_EQ(rig.view.LastStatus(), TextId::PortSettingsError);
}

TEST(TransferPortSetup, HoldsTheWindowsLineSettings) {
  QueueDispatcher dispatcher;
  TComPort port;
  port.FlowControl().SetFlowControl(fcHardware);
  port.Parity().SetBits(prEven);
  SetUpTransferPort(port, "/dev/ttyUSB7", BaudRateFor(9600), 9600, dispatcher);
  EXPECT_EQ(port.Port(), "/dev/ttyUSB7");
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_EQ(port.DataBits(), dbEight);
  EXPECT_EQ(port.StopBits(), sbOneStopBit);
  EXPECT_EQ(port.Parity().Bits(), prNone);
  EXPECT_EQ(port.FlowControl().FlowControl(), fcNone);
  EXPECT_EQ(port.FlowControl().ControlDTR(), dtrDisable);
  EXPECT_EQ(port.FlowControl().ControlRTS(), rtsDisable);
  EXPECT_EQ(port.Dispatcher(), &dispatcher);
  EXPECT_EQ(BaudRateFor(115200), br115200);
  EXPECT_EQ(BaudRateFor(250000), brCustom);
}

}  // namespace
}  // namespace theolink
