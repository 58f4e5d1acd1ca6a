// Settings objects and the setter rules, seen through a recording serial service: what is
// applied when, the derived flow control, and every failure mapped to its error code.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake_serial_backend.h"
#include "serial/com_port.h"
#include "support/com_error_assert.h"

namespace theolink {
namespace {

using test::FakeDeviceLog;
using test::FakeSerialBackend;

struct FakePort {
  std::shared_ptr<FakeDeviceLog> log = std::make_shared<FakeDeviceLog>();
  TComPort port{std::make_unique<FakeSerialBackend>(log)};
  FakePort() { port.SetEvents({}); }
};


TEST(ComPortDefaults, ComponentStartsWithItsDocumentedValues) {
  FakePort f;
  TComPort& p = f.port;
  EXPECT_FALSE(p.Connected());
  EXPECT_EQ(p.BaudRate(), br9600);
  EXPECT_EQ(p.CustomBaudRate(), 9600);
  EXPECT_EQ(p.Port(), "COM1");
  EXPECT_EQ(p.Parity().Bits(), prNone);
  EXPECT_FALSE(p.Parity().Check());
  EXPECT_EQ(p.StopBits(), sbOneStopBit);
  EXPECT_EQ(p.DataBits(), dbEight);
  EXPECT_EQ(TComPort().Events(), kAllComEvents);
  EXPECT_EQ(p.Buffer().InputSize(), 1024);
  EXPECT_EQ(p.Buffer().OutputSize(), 1024);
  EXPECT_EQ(p.FlowControl().FlowControl(), fcNone);
  EXPECT_EQ(p.FlowControl().XonChar(), 17);
  EXPECT_EQ(p.FlowControl().XoffChar(), 19);
  EXPECT_EQ(p.Timeouts().ReadInterval(), -1);
  EXPECT_EQ(p.Timeouts().WriteTotalMultiplier(), 100);
  EXPECT_EQ(p.Timeouts().WriteTotalConstant(), 1000);
  EXPECT_EQ(p.StoredProps(), TStoredProps{spBasic});
  EXPECT_TRUE(p.TriggersOnRxChar());
  EXPECT_EQ(p.SyncMethod(), smThreadSync);
  EXPECT_EQ(p.EventThreadPriority(), tpNormal);
  EXPECT_TRUE(f.log->calls.empty());  // nothing opened
}

TEST(ComPortSetup, OpenAppliesBufferLineTimeoutsInThatOrderWithTheWindowsValues) {
  FakePort f;
  f.port.SetPort("COM3");
  f.port.SetBaudRate(br115200);
  f.port.Buffer().SetInputSize(1025);
  f.port.Open();
  EXPECT_EQ(f.log->calls,
            (std::vector<std::string>{"Open:" + PortDevicePath("COM3"), "Open", "ApplyQueueSizes", "ApplyLine",
                                      "ApplyTimeouts", "ModemLines", "ModemLines", "ModemLines"}));
  EXPECT_EQ(f.log->input_size, 1024);
  const LineSettings& s = f.log->line;
  EXPECT_EQ(s.baud_rate, 115200);
  EXPECT_EQ(s.data_bits, 8);
  EXPECT_EQ(s.parity, prNone);
  EXPECT_EQ(s.stop_bits, sbOneStopBit);
  EXPECT_EQ(s.dtr, dtrDisable);
  EXPECT_EQ(s.rts, rtsDisable);
  EXPECT_FALSE(s.xon_xoff_in || s.xon_xoff_out || s.out_cts_flow);
  EXPECT_EQ(s.xon_limit, 256);
  EXPECT_EQ(s.xoff_limit, 256);
  EXPECT_EQ(f.log->timeouts.read_interval, 0xFFFFFFFFu);
  EXPECT_EQ(f.log->timeouts.write_total_constant, 1000u);
  f.port.SetDataBits(dbFive);
  EXPECT_EQ(f.log->line.data_bits, 5);
  f.port.Parity().SetCheck(true);
  f.port.Parity().SetReplace(true);
  EXPECT_TRUE(f.log->line.parity_replace);
}

TEST(ComPortSetup, ChangedValuesApplyOnceAndUnchangedOnesNotAtAll) {
  FakePort f;
  f.port.SetBaudRate(br57600);  // closed: stored only
  EXPECT_TRUE(f.log->calls.empty());
  f.port.Open();
  f.log->calls.clear();
  f.port.SetBaudRate(br57600);
  f.port.Parity().SetBits(prNone);
  f.port.Timeouts().SetReadInterval(-1);
  f.port.Buffer().SetInputSize(1025);  // stored as 1024: unchanged
  EXPECT_TRUE(f.log->calls.empty());
  f.port.SetBaudRate(br128000);
  f.port.Timeouts().SetWriteTotalConstant(50);
  f.port.Buffer().SetOutputSize(2048);
  EXPECT_EQ(f.log->calls,
            (std::vector<std::string>{"ApplyLine", "ApplyTimeouts", "ApplyQueueSizes"}));
  EXPECT_EQ(f.log->line.baud_rate, 128000);

  // Assigning a whole object copies every field and applies the group once.
  f.log->calls.clear();
  TComFlowControl flow;
  flow.SetFlowControl(fcHardware);
  flow.SetControlDTR(dtrEnable);
  flow.SetXonChar(1);
  f.port.SetFlowControl(flow);
  EXPECT_EQ(f.log->calls, std::vector<std::string>{"ApplyLine"});
  EXPECT_EQ(f.port.FlowControl().ControlDTR(), dtrEnable);
  EXPECT_EQ(f.port.FlowControl().XonChar(), 1);
  EXPECT_TRUE(f.log->line.out_cts_flow);
  TComTimeouts timeouts;
  timeouts.SetReadTotalConstant(77);
  f.port.SetTimeouts(timeouts);
  EXPECT_EQ(f.port.Timeouts().ReadTotalConstant(), 77);
  EXPECT_EQ(f.port.Timeouts().WriteTotalConstant(), 1000);  // copied back to the default
  EXPECT_EQ(f.log->Count("ApplyTimeouts"), 1);
}

TEST(ComSettingsObjects, BufferSizesRoundOddValuesDown) {
  TComBuffer b;
  b.SetInputSize(1025);
  b.SetOutputSize(1);
  EXPECT_EQ(b.InputSize(), 1024);
  EXPECT_EQ(b.OutputSize(), 0);
  b.SetInputSize(4096);
  EXPECT_EQ(b.InputSize(), 4096);
}

TEST(ComSettingsObjects, FlowControlIsDerivedFromItsFields) {
  TComFlowControl fc;
  EXPECT_EQ(fc.FlowControl(), fcNone);
  fc.SetFlowControl(fcHardware);
  EXPECT_EQ(fc.FlowControl(), fcHardware);
  EXPECT_EQ(fc.ControlRTS(), rtsHandshake);
  EXPECT_TRUE(fc.OutCTSFlow());
  fc.SetXonXoffIn(true);
  EXPECT_EQ(fc.FlowControl(), fcCustom);
  fc.SetFlowControl(fcSoftware);
  EXPECT_EQ(fc.FlowControl(), fcSoftware);
  EXPECT_EQ(fc.ControlRTS(), rtsDisable);
  fc.SetControlDTR(dtrHandshake);
  fc.SetOutDSRFlow(true);
  fc.SetFlowControl(fcNone);
  EXPECT_EQ(fc.FlowControl(), fcNone);
  EXPECT_EQ(fc.ControlDTR(), dtrHandshake);  // never touched
  EXPECT_TRUE(fc.OutDSRFlow());
  fc.SetControlRTS(rtsToggle);
  EXPECT_EQ(fc.FlowControl(), fcCustom);
  fc.SetFlowControl(fcCustom);  // changes nothing
  EXPECT_EQ(fc.ControlRTS(), rtsToggle);
}

TEST(ComPortSetup, FlowControlSetterAppliesEvenWhenNothingChanged) {
  FakePort f;
  f.port.Open();
  f.log->calls.clear();
  f.port.FlowControl().SetFlowControl(fcCustom);
  f.port.FlowControl().SetFlowControl(fcNone);
  EXPECT_EQ(f.log->Count("ApplyLine"), 2);
}

TEST(ComPortSetup, FailedSetupClosesTheDeviceAndLeavesThePortClosed) {
  for (const auto& [op, code] : {std::pair{"ApplyQueueSizes", CE_SetupComFailed},
                                 {"ApplyLine", CE_SetStateFailed},
                                 {"ApplyTimeouts", CE_TimeoutsFailed},
                                 {"CreateEventWaiter", CE_OpenFailed},
                                 {"Open", CE_OpenFailed}}) {
    FakePort f;
    f.port.SetEvents({evRxChar});
    f.log->fail[op] = 5;
    int after_open = 0;
    f.port.OnAfterOpen = [&](TCustomComPort&) { ++after_open; };
    EXPECT_COM_ERROR(f.port.Open(), code) << op;
    EXPECT_FALSE(f.port.Connected()) << op;
    EXPECT_FALSE(f.log->open) << op;
    EXPECT_EQ(after_open, 0) << op;
  }
}

TEST(ComPortSetup, OpenRaisesNothingOnceItHasSucceeded) {
  FakePort f;
  f.log->fail["ModemLines"] = 5;
  f.port.OnAfterOpen = [](TCustomComPort&) { throw std::runtime_error("after open"); };
  std::vector<std::string> reported;
  f.port.OnException = [&](TCustomComPort&, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      reported.push_back(e.what());
    }
  };
  EXPECT_NO_THROW(f.port.Open());
  EXPECT_TRUE(f.port.Connected());
  EXPECT_EQ(reported, std::vector<std::string>{"after open"});
}

TEST(ComPortSetup, EveryQueryAndControlMapsItsFailure) {
  FakePort f;
  f.port.Open();
  for (const char* op : {"Read", "Write", "InputCount", "OutputCount", "TakeErrors", "ModemLines",
                         "HoldFlags", "SetDTR", "SetRTS", "SetBreak", "SetXonXoff", "Purge",
                         "TransmitChar", "AbortPending"}) {
    f.log->fail[op] = 5;
  }
  std::string s;
  char buf[4];
  EXPECT_COM_ERROR(f.port.Read(buf, 4), CE_ReadFailed);
  EXPECT_COM_ERROR(f.port.ReadStr(s, 4), CE_ReadFailed);
  EXPECT_COM_ERROR(f.port.Write(buf, 4), CE_WriteFailed);
  EXPECT_COM_ERROR(f.port.InputCount(), CE_ClearComFailed);
  EXPECT_COM_ERROR(f.port.OutputCount(), CE_ClearComFailed);
  EXPECT_COM_ERROR(f.port.LastErrors(), CE_ClearComFailed);
  EXPECT_COM_ERROR(f.port.StateFlags(), CE_ClearComFailed);
  EXPECT_COM_ERROR(f.port.Signals(), CE_ModemStatFailed);
  EXPECT_COM_ERROR(f.port.SetDTR(true), CE_EscapeComFailed);
  EXPECT_COM_ERROR(f.port.SetRTS(true), CE_EscapeComFailed);
  EXPECT_COM_ERROR(f.port.SetBreak(true), CE_EscapeComFailed);
  EXPECT_COM_ERROR(f.port.SetXonXoff(true), CE_EscapeComFailed);
  EXPECT_COM_ERROR(f.port.ClearBuffer(true, true), CE_PurgeFailed);
  EXPECT_COM_ERROR(f.port.TransmitChar('a'), CE_TransmitFailed);
  EXPECT_COM_ERROR(f.port.Close(), CE_PurgeFailed);  // aborting pending I/O
}

TEST(ComPortSetup, ParityErrorsAreReportedOnlyWhileChecking) {
  FakePort f;
  f.port.Open();
  EXPECT_EQ(f.port.LastErrors(), TComErrors{ceFrame});
  f.port.Parity().SetCheck(true);
  EXPECT_EQ(f.port.LastErrors(), (TComErrors{ceFrame, ceRxParity}));
  TComErrors seen;
  f.port.OnError = [&](TCustomComPort&, TComErrors e) { seen = e; };
  f.port.CallError();
  EXPECT_EQ(seen, (TComErrors{ceFrame, ceRxParity}));
  bool cts = false, rlsd = false;
  f.port.OnCTSChange = [&](TCustomComPort&, bool on) { cts = on; };
  f.port.OnRLSDChange = [&](TCustomComPort&, bool on) { rlsd = on; };
  f.port.CallCTSChange();
  f.port.CallRLSDChange();
  EXPECT_TRUE(cts && rlsd);
}

TEST(ComPortSetup, ClosedDeviceIsNotTouchedByEmptyTextsOrUpdates) {
  FakePort f;
  EXPECT_EQ(f.port.WriteStr(""), 0);
  std::string s = "x";
  EXPECT_EQ(f.port.ReadStr(s, 0), 0);
  EXPECT_EQ(s, "");
  f.port.BeginUpdate();
  f.port.SetBaudRate(br110);
  f.port.EndUpdate();
  EXPECT_TRUE(f.log->calls.empty());

  f.port.Open();
  f.log->calls.clear();
  f.port.BeginUpdate();
  f.port.SetBaudRate(br300);
  f.port.Timeouts().SetReadTotalConstant(5);
  EXPECT_TRUE(f.log->calls.empty());
  f.port.EndUpdate();
  EXPECT_EQ(f.log->calls,
            (std::vector<std::string>{"ApplyQueueSizes", "ApplyLine", "ApplyTimeouts"}));
}

TEST(ComPortNames, NamesMapToDevicePaths) {
  EXPECT_EQ(PortDevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(PortDevicePath("COM3"), "/dev/ttyS2");
  EXPECT_EQ(PortDevicePath("com12"), "/dev/ttyS11");
  EXPECT_EQ(PortDevicePath("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(PortDevicePath("/dev/pts/7"), "/dev/pts/7");
  EXPECT_EQ(PortDevicePath("COM0"), "/dev/COM0");
  EXPECT_EQ(PortDevicePath("COMX"), "/dev/COMX");
  EXPECT_EQ(PortDevicePath(""), "");
}

TEST(ComErrorTexts, MessagesCarryTheSystemCodeOnlyWhenKnown) {
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed, 2).what()), "Unable to open com port (Error: 2, No such file or directory)");
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed, 13).what()), "Unable to open com port (Error: 13, Permission denied)");
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed, 0).what()), "Unable to open com port");
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed).what()), "Unable to open com port");
  EXPECT_EQ(EComPort(CE_OpenFailed).OsErrorCode(), -1);
  EXPECT_EQ(ComErrorText(CE_TimeoutsFailed), "SetCommTimeouts failed");
  EXPECT_EQ(ComErrorText(CE_LedStateFailed), "Cannot change led state if ComPort is selected");
  EXPECT_EQ(ComErrorText(CE_HasLink), "A component is linked to OnRxBuf event");
  EXPECT_EQ(ComErrorText(CEPortNotOpen), "Port Not Open");
  EXPECT_EQ(ComErrorText(0), "");
  EXPECT_EQ(ComErrorText(25), "");
  for (int code = 1; code <= 24; ++code) EXPECT_FALSE(ComErrorText(code).empty()) << code;
}

}  // namespace
}  // namespace theolink
