// Text forms of the settings, the port list, and the selection logic of the port and baud
// boxes.
#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "serial/com_enum.h"
#include "serial/com_port.h"
#include "serial/com_select.h"
#include "serial/com_text_forms.h"
#include "support/pty_instrument.h"
#include "support/temp_dir.h"
#include "support/waits.h"

namespace theolink {
namespace {

namespace fs = std::filesystem;

TEST(ComTextForms, EveryValueReadsBackAndUnknownTextsGiveTheDefault) {
  for (int i = brCustom; i <= br256000; ++i) {
    EXPECT_EQ(StrToBaudRate(BaudRateToStr(static_cast<TBaudRate>(i))), i);
  }
  for (int i = sbOneStopBit; i <= sbTwoStopBits; ++i) {
    EXPECT_EQ(StrToStopBits(StopBitsToStr(static_cast<TStopBits>(i))), i);
  }
  for (int i = dbFive; i <= dbEight; ++i) {
    EXPECT_EQ(StrToDataBits(DataBitsToStr(static_cast<TDataBits>(i))), i);
  }
  for (int i = prNone; i <= prSpace; ++i) {
    EXPECT_EQ(StrToParity(ParityToStr(static_cast<TParityBits>(i))), i);
  }
  for (int i = fcHardware; i <= fcCustom; ++i) {
    EXPECT_EQ(StrToFlowControl(FlowControlToStr(static_cast<TFlowControl>(i))), i);
  }
  EXPECT_EQ(StrToBaudRate("115200"), br115200);
  EXPECT_EQ(StrToBaudRate("custom"), brCustom);
  EXPECT_EQ(StrToBaudRate("abc"), br9600);
  EXPECT_EQ(StrToBaudRate(""), br9600);
  EXPECT_EQ(StrToBaudRate(" 9600"), br9600);
  EXPECT_EQ(StrToStopBits("1.5"), sbOne5StopBits);
  EXPECT_EQ(StrToStopBits("3"), sbOneStopBit);
  EXPECT_EQ(StrToDataBits("9"), dbEight);
  EXPECT_EQ(StrToParity("MARK"), prMark);
  EXPECT_EQ(StrToParity("xyz"), prNone);
  EXPECT_EQ(StrToFlowControl("software"), fcSoftware);
  EXPECT_EQ(StrToFlowControl("RTS/CTS"), fcCustom);
  EXPECT_EQ(BaudRateToStr(br115200), "115200");
  EXPECT_EQ(StopBitsToStr(sbOne5StopBits), "1.5");
  EXPECT_EQ(ParityToStr(prSpace), "Space");
  EXPECT_EQ(FlowControlToStr(fcNone), "None");
}

TEST(ComPortList, SortsWithoutRegardToCase) {
  std::vector<std::string> names{"COM2", "com10", "COM1", "/dev/ttyUSB0", "/dev/ttyACM1",
                                 "/dev/ttyS10", "/dev/ttyS2"};
  SortNoCase(names);
  EXPECT_EQ(names, (std::vector<std::string>{"/dev/ttyACM1", "/dev/ttyS10", "/dev/ttyS2",
                                             "/dev/ttyUSB0", "COM1", "com10", "COM2"}));
}

class FakeSysfs : public ::testing::Test {
 protected:
  void Add(const std::string& name, bool device) {
    fs::create_directories(root_ / name);
    if (device) fs::create_directories(root_ / name / "device");
  }
  test::TempDir dir_{"theolink-tty"};
  fs::path root_ = dir_.Path();
};

TEST_F(FakeSysfs, ListsEveryTtyWithADeviceAndUartsOnlyWithHardware) {
  Add("ttyS0", true);
  Add("ttyS1", true);   // no UART behind it
  Add("ttyS10", true);
  Add("ttyS3", false);  // no device at all
  Add("ttyUSB0", true);
  Add("ttyACM0", true);
  Add("tty0", false);
  Add("console", false);
  Add("ttyUSBx", true);  // any name with a device behind it is a port
  for (const char* name : {"rfcomm0", "ttyAMA0", "ttyCH343USB0", "ttyXRUSB1", "ttymxc2"}) Add(name, true);
  std::set<std::string> probed;
  auto probe = [&](const std::string& path) {
    probed.insert(path);
    return path != "/dev/ttyS1";
  };
  std::vector<std::string> ports{"old"};
  EnumComPortsIn(root_.string(), "/dev", probe, ports);
  EXPECT_EQ(ports, (std::vector<std::string>{"/dev/rfcomm0", "/dev/ttyACM0", "/dev/ttyAMA0",
                                             "/dev/ttyCH343USB0", "/dev/ttymxc2", "/dev/ttyS0",
                                             "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSBx",
                                             "/dev/ttyXRUSB1"}));
  EXPECT_EQ(probed, (std::set<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS10"}));
}

TEST_F(FakeSysfs, UnreadableListLeavesTheOldContent) {
  std::vector<std::string> ports{"keep"};
  EnumComPortsIn((root_ / "missing").string(), "/dev", nullptr, ports);
  EXPECT_EQ(ports, std::vector<std::string>{"keep"});
  EnumComPortsIn(root_.string(), "/dev", nullptr, ports);  // readable and empty
  EXPECT_TRUE(ports.empty());
}

TEST(ComPortList, RealListHoldsSerialDevicePaths) {
  std::vector<std::string> ports;
  EnumComPorts(ports);
  for (const auto& p : ports) {
    EXPECT_EQ(p.rfind("/dev/tty", 0), 0u) << p;
    EXPECT_EQ(PortDevicePath(p), p);
  }
}

TComSelect::PortLister Ports(std::vector<std::string> names) {
  return [names](std::vector<std::string>& out) {
    out = names;
    SortNoCase(out);
  };
}

TEST(ComSelectBox, ItemsFollowTheSelectedSetting) {
  TComSelect s(Ports({"COM2", "COM10", "COM1"}));
  s.SetComProperty(cpPort);
  EXPECT_EQ(s.Items(), (std::vector<std::string>{"COM1", "COM10", "COM2"}));
  s.SetComProperty(cpBaudRate);
  ASSERT_EQ(s.Items().size(), 16u);
  EXPECT_EQ(s.Items()[0], "Custom");
  EXPECT_EQ(s.Items()[13], "115200");
  s.SetComProperty(cpStopBits);
  EXPECT_EQ(s.Items(), (std::vector<std::string>{"1", "1.5", "2"}));
  s.SetComProperty(cpFlowControl);
  EXPECT_EQ(s.Items().size(), 4u);
  s.SetComProperty(cpNone);
  EXPECT_TRUE(s.Items().empty());
}

TEST(ComSelectBox, UpdateSettingsFindsThePortsValue) {
  TComPort port;
  TComSelect s(Ports({"COM1", "COM2"}));
  EXPECT_EQ(s.UpdateSettings(), -1);  // unbound
  s.SetComPort(&port);
  s.SetComProperty(cpPort);
  port.SetPort("com2");
  EXPECT_EQ(s.UpdateSettings(), 1);
  EXPECT_EQ(s.SelectedPort(), "COM2");
  port.SetPort("COM7");  // not present: no selection
  EXPECT_EQ(s.UpdateSettings(), -1);
  EXPECT_EQ(s.SelectedPort(), "COM2");

  TComSelect paths(Ports({"/dev/ttyS0", "/dev/ttyUSB0"}));
  paths.SetComPort(&port);
  paths.SetComProperty(cpPort);
  port.SetPort("COM1");  // the same device as /dev/ttyS0
  EXPECT_EQ(paths.UpdateSettings(), 0);
  port.SetPort("ttyUSB0");
  EXPECT_EQ(paths.UpdateSettings(), 1);

  s.SetComProperty(cpBaudRate);
  port.SetBaudRate(br115200);
  EXPECT_EQ(s.UpdateSettings(), 13);
  s.SetComProperty(cpParity);
  port.Parity().SetBits(prEven);
  EXPECT_EQ(s.UpdateSettings(), 2);
  EXPECT_EQ(s.SelectedParity(), prEven);
}

TEST(ComSelectBox, PickIsStoredAndAppliedOnlyWithAutoApply) {
  TComPort port;
  TComSelect s(Ports({}));
  s.SetComPort(&port);
  s.SetComProperty(cpBaudRate);
  s.Change("57600");
  EXPECT_EQ(s.SelectedBaudRate(), br57600);
  EXPECT_EQ(port.BaudRate(), br9600);
  s.ApplySettings();
  EXPECT_EQ(port.BaudRate(), br57600);
  s.SetAutoApply(true);
  s.Change("");  // nothing selected reads as the default
  EXPECT_EQ(port.BaudRate(), br9600);
  s.SetComProperty(cpFlowControl);
  s.Change("Hardware");
  EXPECT_EQ(port.FlowControl().FlowControl(), fcHardware);
  s.SetComProperty(cpDataBits);
  s.Change("7");
  EXPECT_EQ(port.DataBits(), dbSeven);
  s.SetComProperty(cpNone);
  s.Change("5");
  EXPECT_EQ(port.DataBits(), dbSeven);
}

TEST(ComSelectBox, PicksReachAnOpenPortAtOnce) {
  test::PtyInstrument a;
  test::PtyInstrument b;
  TComPort port;
  port.SetEvents({});
  port.SetPort(a.Path());
  port.Open();
  TComSelect baud(Ports({}));
  baud.SetComPort(&port);
  baud.SetComProperty(cpBaudRate);
  baud.SetAutoApply(true);
  baud.Change("57600");
  termios t = a.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));

  TComSelect name(Ports({a.Path(), b.Path()}));
  name.SetComPort(&port);
  name.SetComProperty(cpPort);
  name.SetAutoApply(true);
  name.Change(b.Path());
  EXPECT_TRUE(port.Connected());
  EXPECT_EQ(port.Port(), b.Path());
  t = b.Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));
}

}  // namespace
}  // namespace theolink
