#include "serial/com_settings.h"

#include "serial/com_port.h"

namespace theolink {

namespace {

std::int32_t EvenSize(std::int32_t size) { return size % 2 != 0 ? size - 1 : size; }

}  // namespace

// --- TComParity ---
void TComParity::Changed() {
  if (owner_) owner_->ApplyDCB();
}
void TComParity::Assign(const TComParity& source) {
  if (&source == this) return;
  bits_ = source.bits_;
  check_ = source.check_;
  replace_ = source.replace_;
  replace_char_ = source.replace_char_;
  Changed();
}
void TComParity::SetBits(TParityBits value) {
  if (StoreChanged(bits_, value)) Changed();
}
void TComParity::SetCheck(bool value) {
  if (StoreChanged(check_, value)) Changed();
}
void TComParity::SetReplace(bool value) {
  if (StoreChanged(replace_, value)) Changed();
}
void TComParity::SetReplaceChar(char value) {
  if (StoreChanged(replace_char_, value)) Changed();
}

// --- TComFlowControl ---
void TComFlowControl::Changed() {
  if (owner_) owner_->ApplyDCB();
}
void TComFlowControl::Assign(const TComFlowControl& source) {
  if (&source == this) return;
  out_cts_flow_ = source.out_cts_flow_;
  out_dsr_flow_ = source.out_dsr_flow_;
  control_dtr_ = source.control_dtr_;
  control_rts_ = source.control_rts_;
  xon_xoff_out_ = source.xon_xoff_out_;
  xon_xoff_in_ = source.xon_xoff_in_;
  dsr_sensitivity_ = source.dsr_sensitivity_;
  tx_continue_on_xoff_ = source.tx_continue_on_xoff_;
  xon_char_ = source.xon_char_;
  xoff_char_ = source.xoff_char_;
  Changed();
}

TFlowControl TComFlowControl::FlowControl() const {
  if (control_rts_ == rtsHandshake && out_cts_flow_ && !xon_xoff_in_ && !xon_xoff_out_) {
    return fcHardware;
  }
  if (control_rts_ == rtsDisable && !out_cts_flow_ && xon_xoff_in_ && xon_xoff_out_) {
    return fcSoftware;
  }
  if (control_rts_ != rtsDisable || out_cts_flow_ || xon_xoff_in_ || xon_xoff_out_) {
    return fcCustom;
  }
  return fcNone;
}

void TComFlowControl::SetFlowControl(TFlowControl value) {
  switch (value) {
    case fcHardware:
      control_rts_ = rtsHandshake;
      out_cts_flow_ = true;
      xon_xoff_in_ = xon_xoff_out_ = false;
      break;
    case fcSoftware:
      control_rts_ = rtsDisable;
      out_cts_flow_ = false;
      xon_xoff_in_ = xon_xoff_out_ = true;
      break;
    case fcNone:
      control_rts_ = rtsDisable;
      out_cts_flow_ = false;
      xon_xoff_in_ = xon_xoff_out_ = false;
      break;
    case fcCustom:
      break;
  }
  Changed();
}

void TComFlowControl::SetOutCTSFlow(bool value) {
  if (StoreChanged(out_cts_flow_, value)) Changed();
}
void TComFlowControl::SetOutDSRFlow(bool value) {
  if (StoreChanged(out_dsr_flow_, value)) Changed();
}
void TComFlowControl::SetControlDTR(TDTRFlowControl value) {
  if (StoreChanged(control_dtr_, value)) Changed();
}
void TComFlowControl::SetControlRTS(TRTSFlowControl value) {
  if (StoreChanged(control_rts_, value)) Changed();
}
void TComFlowControl::SetXonXoffOut(bool value) {
  if (StoreChanged(xon_xoff_out_, value)) Changed();
}
void TComFlowControl::SetXonXoffIn(bool value) {
  if (StoreChanged(xon_xoff_in_, value)) Changed();
}
void TComFlowControl::SetDSRSensitivity(bool value) {
  if (StoreChanged(dsr_sensitivity_, value)) Changed();
}
void TComFlowControl::SetTxContinueOnXoff(bool value) {
  if (StoreChanged(tx_continue_on_xoff_, value)) Changed();
}
void TComFlowControl::SetXonChar(char value) {
  if (StoreChanged(xon_char_, value)) Changed();
}
void TComFlowControl::SetXoffChar(char value) {
  if (StoreChanged(xoff_char_, value)) Changed();
}

// --- TComTimeouts ---
void TComTimeouts::Changed() {
  if (owner_) owner_->ApplyTimeouts();
}
void TComTimeouts::Assign(const TComTimeouts& source) {
  if (&source == this) return;
  read_interval_ = source.read_interval_;
  read_total_multiplier_ = source.read_total_multiplier_;
  read_total_constant_ = source.read_total_constant_;
  write_total_multiplier_ = source.write_total_multiplier_;
  write_total_constant_ = source.write_total_constant_;
  Changed();
}
void TComTimeouts::SetReadInterval(std::int32_t value) {
  if (StoreChanged(read_interval_, value)) Changed();
}
void TComTimeouts::SetReadTotalMultiplier(std::int32_t value) {
  if (StoreChanged(read_total_multiplier_, value)) Changed();
}
void TComTimeouts::SetReadTotalConstant(std::int32_t value) {
  if (StoreChanged(read_total_constant_, value)) Changed();
}
void TComTimeouts::SetWriteTotalMultiplier(std::int32_t value) {
  if (StoreChanged(write_total_multiplier_, value)) Changed();
}
void TComTimeouts::SetWriteTotalConstant(std::int32_t value) {
  if (StoreChanged(write_total_constant_, value)) Changed();
}

// --- TComBuffer ---
void TComBuffer::Changed() {
  if (owner_) owner_->ApplyBuffer();
}
void TComBuffer::Assign(const TComBuffer& source) {
  if (&source == this) return;
  input_size_ = source.input_size_;
  output_size_ = source.output_size_;
  Changed();
}
void TComBuffer::SetInputSize(std::int32_t value) {
  if (StoreChanged(input_size_, EvenSize(value))) Changed();
}
void TComBuffer::SetOutputSize(std::int32_t value) {
  if (StoreChanged(output_size_, EvenSize(value))) Changed();
}

}  // namespace theolink
