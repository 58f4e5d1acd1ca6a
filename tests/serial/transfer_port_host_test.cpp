// The console transfer host on a real pseudo-terminal: the test plays the instrument on the
// master side while the host pumps the port's events on this thread.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "serial/transfer_console.h"
#include "serial/transfer_port_host.h"
#include "serial/transfer_session.h"

namespace theolink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using RunEnd = PortTransferHost::RunEnd;

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0 && ::ptsname_r(master_, name, sizeof name) == 0)
      path_ = name;
  }
  ~Pty() { Close(); }
  const std::string& Path() const { return path_; }
  void Write(const std::string& s) { ASSERT_EQ(::write(master_, s.data(), s.size()), static_cast<ssize_t>(s.size())); }
  // Reads until text ends with CR LF or limit passes.
  std::string ReadLine(std::chrono::milliseconds limit) {
    std::string got;
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
      char buf[256];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<std::size_t>(n));
      if (got.size() >= 2 && got.compare(got.size() - 2, 2, "\r\n") == 0) break;
    }
    return got;
  }
  void Close() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
};

struct Rig {
  explicit Rig(const std::string& device) {
    SetUpTransferPort(port, device, br115200, 115200, dispatcher);
    host.Bind(controller);
  }
  QueueDispatcher dispatcher;
  TComPort port;
  std::ostringstream shown;
  ConsoleTransferDisplay display{shown, [](TextId id) { return "#" + std::to_string(static_cast<int>(id)) + " "; },
                                 false};
  PortTransferHost host{port, dispatcher, display};
  WorkingData data;
  TransferController controller{host, data};
};

TEST(TransferPortHost, ReceivesOverAPseudoTerminalAndEndsAfterTwoSecondsOfSilence) {
  Pty pty;
  Rig rig(pty.Path());
  ASSERT_EQ(rig.controller.ReceiveBtnClick(), StartResult::Started);
  EXPECT_TRUE(rig.port.Connected());
  std::thread instrument([&] {
    pty.Write("TREE\r\nWA");
    std::this_thread::sleep_for(50ms);
    pty.Write("LL\r\n\r\nPOLE\r\nhalf");
  });
  const auto start = Clock::now();
  EXPECT_EQ(rig.host.RunUntilFinished(), RunEnd::Finished);
  const auto took = Clock::now() - start;
  instrument.join();
  EXPECT_GE(took, 2000ms);
  EXPECT_LT(took, 5000ms);
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"TREE", "WALL", "", "POLE"}));
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Codes);
  EXPECT_EQ(rig.data.CodeList.size(), 4u);
  rig.display.Finish();
  EXPECT_EQ(rig.shown.str(), "\r#" + std::to_string(static_cast<int>(TextId::RxPrefix)) + " 2\n");
}

TEST(TransferPortHost, HangUpDuringAReceiveStopsAtOnceWithoutLoading) {
  Pty pty;
  Rig rig(pty.Path());
  ASSERT_EQ(rig.controller.ReceiveBtnClick(), StartResult::Started);
  pty.Write("TREE\r\n");
  std::thread instrument([&] {
    std::this_thread::sleep_for(200ms);
    pty.Close();
  });
  const auto start = Clock::now();
  EXPECT_EQ(rig.host.RunUntilFinished(), RunEnd::HungUp);
  instrument.join();
  EXPECT_LT(Clock::now() - start, 1500ms);
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.controller.Memo1(), LineList{"TREE"});
  EXPECT_TRUE(rig.data.CodeList.empty());
}

TEST(TransferPortHost, AnswersRequestsAndTreatsAHangUpAfterTheLastAsTheEnd) {
  Pty pty;
  Rig rig(pty.Path());
  rig.data.CodeList.resize(2);
  ASSERT_EQ(rig.controller.SendBtnClick({"TREE", " WALL "}), StartResult::Started);
  std::string wire;
  std::thread instrument([&] {
    std::this_thread::sleep_for(50ms);
    for (int i = 0; i < 2; ++i) {
      pty.Write("\r\n");
      wire += pty.ReadLine(2000ms);
    }
    pty.Write("\r");
    std::this_thread::sleep_for(200ms);
    pty.Close();
  });
  const auto start = Clock::now();
  EXPECT_EQ(rig.host.RunUntilFinished(), RunEnd::Finished);
  instrument.join();
  EXPECT_LT(Clock::now() - start, 1900ms);
  EXPECT_EQ(wire, "TREE\r\nWALL\r\n");
  EXPECT_EQ(rig.controller.TransferCount(), 2);
  EXPECT_TRUE(rig.display.EverShown(TextId::SentSuccessfully));
  EXPECT_EQ(rig.display.LastStatus(), TextId::OperationComplete);
  EXPECT_FALSE(rig.port.Connected());
}

TEST(TransferPortHost, StopRequestedFromAnotherThreadEndsTheTransfer) {
  Pty pty;
  Rig rig(pty.Path());
  ASSERT_EQ(rig.controller.ReceiveBtnClick(), StartResult::Started);
  std::thread user([&] {
    std::this_thread::sleep_for(100ms);
    rig.host.RequestStop();
  });
  EXPECT_EQ(rig.host.RunUntilFinished(), RunEnd::Stopped);
  user.join();
  EXPECT_FALSE(rig.port.Connected());
  EXPECT_EQ(rig.display.LastStatus(), TextId::Stopped);
}

TEST(TransferPortHost, MissingDeviceFailsToStartWithTheComponentsMessage) {
  Rig rig("/dev/theolink-no-such-device");
  EXPECT_EQ(rig.controller.ReceiveBtnClick(), StartResult::PortFailed);
  EXPECT_EQ(rig.host.OpenErrorText(), "Unable to open com port (Error: 2)");
  EXPECT_EQ(rig.display.LastStatus(), TextId::PortSettingsError);
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

TEST(TransferPortOptions, TakesPortAndBaudAndLeavesTheRest) {
  std::vector<std::string> args{"--to", "cass", "--port", "/dev/pts/3", "out.dat", "--baud=9600"};
  TransferPortOptions options;
  std::string error;
  ASSERT_TRUE(TakePortOptions(args, options, error)) << error;
  EXPECT_EQ(options.Port, "/dev/pts/3");
  EXPECT_EQ(options.Baud, 9600);
  EXPECT_EQ(args, (std::vector<std::string>{"--to", "cass", "out.dat"}));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"out.txt"}, {"--port"}, {"--port", "/dev/x", "--baud", "fast"}, {"--port=/dev/x", "--baud", "-5"},
           {"--port", "/dev/x", "--baud", "9600.5"}, {"--port="}}) {
    std::vector<std::string> a = bad;
    TransferPortOptions o;
    EXPECT_FALSE(TakePortOptions(a, o, error)) << ::testing::PrintToString(bad);
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace theolink
