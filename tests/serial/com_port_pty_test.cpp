// The port on a real pseudo-terminal: opening and closing, exclusivity, settings reaching
// the device, reading and writing with their time-outs, and the errors a device gives.
#include <gtest/gtest.h>
#include <termios.h>

#include <cerrno>
#include <string>
#include <vector>

#include "serial/com_port.h"
#include "serial/posix_custom_baud.h"
#include "support/com_error_assert.h"
#include "support/pty_instrument.h"
#include "support/waits.h"

namespace theolink {
namespace {

using test::PtyInstrument;
using test::Watchdog;
using namespace std::chrono_literals;

// A port with the window's line settings on the given device; no events unless asked.
void Configure(TComPort& port, const std::string& path, bool events = false) {
  port.SetPort(path);
  port.SetBaudRate(br115200);
  if (!events) port.SetEvents({});
}

using test::CaughtComError;

TEST(ComPortOpenClose, HandlersRunInOrderAndRepeatedCallsChangeNothing) {
  Watchdog dog(10s);
  PtyInstrument pty;
  QueueDispatcher dispatcher;
  TComPort port;
  port.SetDispatcher(&dispatcher);
  Configure(port, pty.Path(), true);
  std::vector<std::string> log;
  port.OnBeforeOpen = [&](TCustomComPort& p) { log.push_back(p.Connected() ? "BO+" : "BO-"); };
  port.OnAfterOpen = [&](TCustomComPort& p) { log.push_back(p.Connected() ? "AO+" : "AO-"); };
  port.OnBeforeClose = [&](TCustomComPort& p) { log.push_back(p.Connected() ? "BC+" : "BC-"); };
  port.OnAfterClose = [&](TCustomComPort& p) { log.push_back(p.Connected() ? "AC+" : "AC-"); };
  port.OnCTSChange = [&](TCustomComPort&, bool on) { log.push_back(on ? "CTS1" : "CTS0"); };
  port.OnDSRChange = [&](TCustomComPort&, bool on) { log.push_back(on ? "DSR1" : "DSR0"); };
  port.OnRLSDChange = [&](TCustomComPort&, bool on) { log.push_back(on ? "RLSD1" : "RLSD0"); };

  port.Open();
  ASSERT_TRUE(port.Connected());
  const TComThread* thread = port.EventThread();
  ASSERT_NE(thread, nullptr);
  port.Open();
  EXPECT_EQ(port.EventThread(), thread);
  // A pseudo-terminal has no modem lines: they read as off.
  EXPECT_EQ(log, (std::vector<std::string>{"BO-", "AO+", "CTS0", "DSR0", "RLSD0"}));

  log.clear();
  port.Close();
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.EventThread(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"CTS0", "DSR0", "RLSD0", "BC+", "AC-"}));
  log.clear();
  port.Close();
  EXPECT_TRUE(log.empty());

  port.SetConnected(true);
  EXPECT_TRUE(port.Connected());
  port.SetConnected(false);
  EXPECT_FALSE(port.Connected());
}

TEST(ComPortOpenClose, SecondOpenOfTheSameDeviceFailsWithTheSystemCode) {
  PtyInstrument pty;
  TComPort first;
  TComPort second;
  Configure(first, pty.Path());
  Configure(second, pty.Path());
  first.Open();
  const EComPort e = CaughtComError([&] { second.Open(); });
  EXPECT_EQ(e.ErrorCode(), CE_OpenFailed);
  EXPECT_GT(e.OsErrorCode(), 0);
  EXPECT_EQ(std::string(e.what()),
            "Unable to open com port (Error: " + std::to_string(e.OsErrorCode()) + ", " +
                OsErrorText(e.OsErrorCode()) + ")");
  EXPECT_FALSE(second.Connected());
  first.Close();
  second.Open();  // free again once the first one closed
  EXPECT_TRUE(second.Connected());
}

TEST(ComPortOpenClose, AbsentDeviceAndNonSerialFileAreRefused) {
  TComPort port;
  Configure(port, "/dev/theolink-no-such-port");
  const EComPort e = CaughtComError([&] { port.Open(); });
  EXPECT_EQ(e.ErrorCode(), CE_OpenFailed);
  EXPECT_EQ(e.OsErrorCode(), ENOENT);
  EXPECT_EQ(std::string(e.what()), "Unable to open com port (Error: 2, No such file or directory)");
  EXPECT_FALSE(port.Connected());

  port.SetPort("/dev/null");
  EXPECT_COM_ERROR(port.Open(), CE_OpenFailed);
  EXPECT_FALSE(port.Connected());
}

TEST(ComPortOpenClose, RefusedSettingClosesTheDeviceAgain) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(0);
  const EComPort e = CaughtComError([&] { port.Open(); });
  EXPECT_EQ(e.ErrorCode(), CE_SetStateFailed);
  EXPECT_EQ(std::string(e.what()), "SetCommState function failed (Error: 22, Invalid argument)");
  EXPECT_FALSE(port.Connected());
  // The device was released: another port gets it.
  TComPort other;
  Configure(other, pty.Path());
  EXPECT_NO_THROW(other.Open());
}

TEST(ComPortSettings, LineSettingsReachAnOpenDeviceAtOnce) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.SetBaudRate(br9600);
  port.Open();
  termios t = pty.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS | CMSPAR | PARODD), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);  // raw bytes
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);

  port.SetBaudRate(br115200);
  EXPECT_EQ(cfgetospeed(&(t = pty.Settings())), static_cast<speed_t>(B115200));

  std::uint32_t in = 0, out = 0;
  for (auto [rate, value] : {std::pair{br14400, 14400u}, {br56000, 56000u}, {br128000, 128000u},
                             {br256000, 256000u}}) {
    port.SetBaudRate(rate);
    ASSERT_EQ(posix::GetBaudRates(pty.Master(), in, out), 0);
    EXPECT_EQ(out, value);
    EXPECT_EQ(in, value);
  }
  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(250000);
  ASSERT_EQ(posix::GetBaudRates(pty.Master(), in, out), 0);
  EXPECT_EQ(out, 250000u);

  // A pseudo-terminal keeps stop bits and the mark/space choice, but always reports eight
  // data bits without parity enable; those two are checked through the fake device.
  port.SetDataBits(dbSeven);
  port.Parity().SetBits(prMark);
  port.SetStopBits(sbTwoStopBits);
  t = pty.Settings();
  EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
  EXPECT_NE(t.c_cflag & CSTOPB, 0u);
  port.Parity().SetBits(prSpace);
  EXPECT_EQ(pty.Settings().c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(CMSPAR));
  port.Parity().SetBits(prOdd);
  EXPECT_EQ(pty.Settings().c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD));
  port.SetStopBits(sbOneStopBit);
  EXPECT_EQ(pty.Settings().c_cflag & CSTOPB, 0u);

  port.FlowControl().SetFlowControl(fcHardware);
  EXPECT_NE(pty.Settings().c_cflag & CRTSCTS, 0u);
  port.FlowControl().SetFlowControl(fcSoftware);
  t = pty.Settings();
  EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
  port.FlowControl().SetFlowControl(fcNone);
  EXPECT_EQ(pty.Settings().c_iflag & (IXON | IXOFF), 0u);
}

TEST(ComPortSettings, ClosingLeavesTheLineAsItWasFound) {
  PtyInstrument pty;
  termios found = pty.Settings();
  found.c_lflag |= ICANON | ECHO;
  cfsetospeed(&found, B4800);
  cfsetispeed(&found, B4800);
  ASSERT_EQ(::tcsetattr(pty.Master(), TCSANOW, &found), 0);
  found = pty.Settings();
  TComPort port;
  Configure(port, pty.Path());
  port.Open();
  ASSERT_EQ(pty.Settings().c_lflag & ICANON, 0u);
  port.Close();
  const termios left = pty.Settings();
  EXPECT_EQ(left.c_lflag, found.c_lflag);
  EXPECT_EQ(left.c_iflag, found.c_iflag);
  EXPECT_EQ(left.c_oflag, found.c_oflag);
  EXPECT_EQ(left.c_cflag, found.c_cflag);
  EXPECT_EQ(cfgetospeed(&left), static_cast<speed_t>(B4800));
}

TEST(ComPortSettings, ClosedPortOnlyStoresAndUpdatesWaitForTheLastEndUpdate) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.SetBaudRate(br57600);  // stored only
  port.Open();
  termios t = pty.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));

  port.BeginUpdate();
  port.BeginUpdate();
  port.SetBaudRate(br19200);
  port.EndUpdate();
  t = pty.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));
  port.EndUpdate();
  t = pty.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
  port.EndUpdate();  // at 0: nothing
}

TEST(ComPortSettings, NewPortNameReopensUnderThatName) {
  PtyInstrument a;
  PtyInstrument b;
  TComPort port;
  Configure(port, a.Path());
  port.Open();
  int opens = 0;
  port.OnAfterOpen = [&](TCustomComPort&) { ++opens; };
  port.SetPort(a.Path());
  EXPECT_EQ(opens, 0);
  port.SetPort(b.Path());
  EXPECT_EQ(opens, 1);
  EXPECT_TRUE(port.Connected());
  TComPort probe;
  Configure(probe, a.Path());
  EXPECT_NO_THROW(probe.Open());  // a was released
  probe.Close();
  Configure(probe, b.Path());
  EXPECT_THROW(probe.Open(), EComPort);  // b is held
}

TEST(ComPortSettings, StoredConnectedOpensOnlyWhenLoaded) {
  PtyInstrument pty;
  TComPort port;
  port.BeginLoad();
  Configure(port, pty.Path());
  port.SetConnected(true);
  EXPECT_FALSE(port.Connected());
  port.Loaded();
  EXPECT_TRUE(port.Connected());
}

TEST(ComPortIo, ReadReturnsWhatIsWaitingAndWriteReachesTheDevice) {
  Watchdog dog(10s);
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.Open();

  std::string s = "untouched";
  EXPECT_EQ(port.ReadStr(s, 10), 0);  // nothing there: returns at once
  EXPECT_EQ(s, "");
  pty.Send("hello\r\n");
  ASSERT_TRUE(test::WaitUntil([&] { return port.InputCount() == 7; }));
  EXPECT_EQ(port.ReadStr(s, 0), 0);
  EXPECT_EQ(port.ReadStr(s, 3), 3);
  EXPECT_EQ(s, "hel");
  EXPECT_EQ(port.ReadStr(s, 100), 4);
  EXPECT_EQ(s, "lo\r\n");
  EXPECT_EQ(port.InputCount(), 0);

  const std::string binary("\x00\xff\x11\x13\r\x7f", 6);
  EXPECT_EQ(port.WriteStr(binary), 6);
  EXPECT_EQ(pty.Receive(6), binary);
  EXPECT_EQ(port.WriteStr(""), 0);
  EXPECT_EQ(port.OutputCount(), 0);
  EXPECT_TRUE(port.StateFlags().Empty());
  EXPECT_TRUE(port.LastErrors().Empty());
}

TEST(ComPortIo, ReadTimeoutsWaitForTheRestOrGiveUp) {
  Watchdog dog(20s);
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.Timeouts().SetReadInterval(0);
  port.Timeouts().SetReadTotalConstant(300);
  port.Open();
  pty.Send("abc");
  std::string s;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.ReadStr(s, 10), 3);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms);
  EXPECT_EQ(s, "abc");

  // Bytes that arrive while the read waits are taken in.
  std::thread late([&] {
    std::this_thread::sleep_for(50ms);
    pty.Send("defg");
  });
  port.Timeouts().SetReadTotalConstant(5000);
  EXPECT_EQ(port.ReadStr(s, 4), 4);
  EXPECT_EQ(s, "defg");
  late.join();
}

TEST(ComPortIo, WriteGivesUpAfterItsTimeout) {
  Watchdog dog(20s);
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.Timeouts().SetWriteTotalMultiplier(0);
  port.Timeouts().SetWriteTotalConstant(200);
  port.Open();
  // Nobody reads the master: the queue fills and the write ends with what fitted.
  const std::string big(4 * 1024 * 1024, 'x');
  const int n = port.WriteStr(big);
  EXPECT_GT(n, 0);
  EXPECT_LT(n, static_cast<int>(big.size()));
  port.ClearBuffer(true, true);
}

TEST(ComPortIo, DiscardNullDropsNulBytes) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.SetDiscardNull(true);
  port.Timeouts().SetReadInterval(0);
  port.Timeouts().SetReadTotalConstant(300);
  port.Open();
  pty.Send(std::string("a\0b\0\0c", 6));
  std::string s;
  port.ReadStr(s, 3);
  EXPECT_EQ(s, "abc");
}

TEST(ComPortErrors, ClosedPortAndDeviceErrorsRaiseTheirCodes) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  std::string s;
  EComPort e = CaughtComError([&] { port.ReadStr(s, 5); });
  EXPECT_EQ(e.ErrorCode(), CEPortNotOpen);
  EXPECT_EQ(e.OsErrorCode(), -1);
  EXPECT_EQ(std::string(e.what()), "Port Not Open");
  EXPECT_COM_ERROR(port.WriteStr("x"), CEPortNotOpen);
  EXPECT_EQ(port.WriteStr(""), 0);
  EXPECT_COM_ERROR(port.InputCount(), CE_ClearComFailed);
  EXPECT_COM_ERROR(port.Signals(), CE_ModemStatFailed);
  EXPECT_COM_ERROR(port.ClearBuffer(true, false), CE_PurgeFailed);
  EXPECT_COM_ERROR(port.TransmitChar('x'), CE_TransmitFailed);
  EXPECT_COM_ERROR(port.SetBreak(true), CE_EscapeComFailed);

  port.Open();
  // No DTR on a pseudo-terminal.
  e = CaughtComError([&] { port.SetDTR(true); });
  EXPECT_EQ(e.ErrorCode(), CE_EscapeComFailed);
  EXPECT_EQ(e.OsErrorCode(), ENOTTY);
  EXPECT_TRUE(port.Signals().Empty());

  e = CaughtComError([&] { port.SetSyncMethod(smNone); });
  EXPECT_EQ(e.ErrorCode(), CE_ConnChangeProp);
  EXPECT_EQ(std::string(e.what()), "Cannot set property while connected");
  EXPECT_NO_THROW(port.SetSyncMethod(smThreadSync));  // unchanged: fine
  EXPECT_COM_ERROR(port.SetEventThreadPriority(tpHigher), CE_ConnChangeProp);
  EXPECT_EQ(CaughtComError([&] {
              port.SetBaudRate(brCustom);
              port.SetCustomBaudRate(-5);
            }).ErrorCode(),
            CE_SetStateFailed);
  port.Close();
  port.SetSyncMethod(smNone);
  EXPECT_EQ(port.SyncMethod(), smNone);
}

TEST(ComPortErrors, TransmitCharAndXonXoffWorkOnAnOpenDevice) {
  PtyInstrument pty;
  TComPort port;
  Configure(port, pty.Path());
  port.Open();
  port.TransmitChar('Q');
  EXPECT_EQ(pty.Receive(1), "Q");
  port.SetXonXoff(false);
  port.SetXonXoff(true);
  port.WriteStr("go");
  EXPECT_EQ(pty.Receive(2), "go");
}

}  // namespace
}  // namespace theolink
