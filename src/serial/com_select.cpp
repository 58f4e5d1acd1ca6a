#include "serial/com_select.h"

#include <utility>

#include "serial/com_enum.h"
#include "serial/com_port.h"
#include "serial/com_text_forms.h"

namespace theolink {

TComSelect::TComSelect() : TComSelect(PortLister(EnumComPorts)) {}

// A box given no lister still lists the ports present: an empty one is never what a caller means.
TComSelect::TComSelect(PortLister lister) : lister_(lister ? std::move(lister) : PortLister(EnumComPorts)) {}

void TComSelect::SetComProperty(TComProperty value) {
  com_property_ = value;
  switch (value) {
    case cpPort:
      // A list that cannot be read leaves the box's list as it was.
      if (lister_) lister_(items_);
      break;
    case cpBaudRate: items_ = BaudRateTexts(); break;
    case cpDataBits: items_ = DataBitsTexts(); break;
    case cpStopBits: items_ = StopBitsTexts(); break;
    case cpParity: items_ = ParityTexts(); break;
    case cpFlowControl: items_ = FlowControlTexts(); break;
    case cpNone: items_.clear(); break;
  }
}

void TComSelect::StoreText(const std::string& text) {
  switch (com_property_) {
    case cpPort: port_ = text; break;
    case cpBaudRate: baud_rate_ = StrToBaudRate(text); break;
    case cpDataBits: data_bits_ = StrToDataBits(text); break;
    case cpStopBits: stop_bits_ = StrToStopBits(text); break;
    case cpParity: parity_ = StrToParity(text); break;
    case cpFlowControl: flow_control_ = StrToFlowControl(text); break;
    case cpNone: break;
  }
}

void TComSelect::Change(const std::string& Text) {
  StoreText(Text);
  if (auto_apply_) ApplySettings();
}

void TComSelect::ApplySettings() {
  if (!com_port_) return;
  switch (com_property_) {
    case cpPort: com_port_->SetPort(port_); break;
    case cpBaudRate: com_port_->SetBaudRate(baud_rate_); break;
    case cpDataBits: com_port_->SetDataBits(data_bits_); break;
    case cpStopBits: com_port_->SetStopBits(stop_bits_); break;
    case cpParity: com_port_->Parity().SetBits(parity_); break;
    case cpFlowControl: com_port_->FlowControl().SetFlowControl(flow_control_); break;
    case cpNone: break;
  }
}

int TComSelect::UpdateSettings() {
  if (!com_port_) return -1;
  std::string current;
  switch (com_property_) {
    case cpPort: current = com_port_->Port(); break;
    case cpBaudRate: current = BaudRateToStr(com_port_->BaudRate()); break;
    case cpDataBits: current = DataBitsToStr(com_port_->DataBits()); break;
    case cpStopBits: current = StopBitsToStr(com_port_->StopBits()); break;
    case cpParity: current = ParityToStr(com_port_->Parity().Bits()); break;
    case cpFlowControl: current = FlowControlToStr(com_port_->FlowControl().FlowControl()); break;
    case cpNone: return -1;
  }
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (SameTextNoCase(items_[i], current)) {
      StoreText(items_[i]);
      return static_cast<int>(i);
    }
  }
  // The list holds device paths; a stored "COM3" or "ttyUSB0" names one of them too.
  if (com_property_ == cpPort && !current.empty()) {
    const std::string device = PortDevicePath(current);
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (PortDevicePath(items_[i]) == device) {
        StoreText(items_[i]);
        return static_cast<int>(i);
      }
    }
  }
  return -1;
}

}  // namespace theolink
