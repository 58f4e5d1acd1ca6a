#pragma once
// The selection logic behind the port and baud-rate boxes: which setting a box selects,
// its list of texts, the value chosen last, and writing it to or reading it from a port.
#include <functional>
#include <string>
#include <vector>

#include "serial/com_types.h"

namespace theolink {

class TCustomComPort;

enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

class TComSelect {
 public:
  using PortLister = std::function<void(std::vector<std::string>&)>;

  // The port list comes from EnumComPorts unless another lister is given (tests); an
  // empty lister counts as none.
  TComSelect();
  explicit TComSelect(PortLister lister);

  TCustomComPort* ComPort() const { return com_port_; }
  void SetComPort(TCustomComPort* port) { com_port_ = port; }
  TComProperty ComProperty() const { return com_property_; }
  // Stores the property and refills Items: the ports present, the 16 baud texts (index =
  // TBaudRate ordinal), the texts of the other settings, or nothing for cpNone.
  void SetComProperty(TComProperty value);
  bool AutoApply() const { return auto_apply_; }
  void SetAutoApply(bool value) { auto_apply_ = value; }
  // The box's list of texts.
  std::vector<std::string>& Items() { return items_; }
  const std::vector<std::string>& Items() const { return items_; }

  // The user picked Text: store the value it reads as; apply it when AutoApply.
  void Change(const std::string& Text);
  // Writes the stored value of the selected setting into the bound port (may raise).
  void ApplySettings();
  // Finds the bound port's current value among Items (without regard to case); returns
  // its index, -1 when absent or unbound. A port name also matches an item naming the
  // same device ("COM1" and "/dev/ttyS0"). A found item's value becomes the stored one.
  int UpdateSettings();

  // The values chosen last.
  const std::string& SelectedPort() const { return port_; }
  TBaudRate SelectedBaudRate() const { return baud_rate_; }
  TDataBits SelectedDataBits() const { return data_bits_; }
  TStopBits SelectedStopBits() const { return stop_bits_; }
  TParityBits SelectedParity() const { return parity_; }
  TFlowControl SelectedFlowControl() const { return flow_control_; }

 private:
  void StoreText(const std::string& text);

  PortLister lister_;
  TCustomComPort* com_port_ = nullptr;
  TComProperty com_property_ = cpNone;
  bool auto_apply_ = false;
  std::vector<std::string> items_;
  std::string port_;
  TBaudRate baud_rate_ = br9600;
  TDataBits data_bits_ = dbEight;
  TStopBits stop_bits_ = sbOneStopBit;
  TParityBits parity_ = prNone;
  TFlowControl flow_control_ = fcNone;
};

}  // namespace theolink
