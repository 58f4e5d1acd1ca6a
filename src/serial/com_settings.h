#pragma once
// The settings objects of the serial port. Each belongs to a port (or to none, as a
// scratch value to Assign from); changing a field re-applies its group to an open port.
#include <cstdint>

#include "serial/com_types.h"

namespace theolink {

class TCustomComPort;

class TComParity {
 public:
  explicit TComParity(TCustomComPort* owner = nullptr) : owner_(owner) {}
  TComParity(const TComParity&) = delete;
  TComParity& operator=(const TComParity&) = delete;

  // Copies every field, then applies the group once.
  void Assign(const TComParity& source);

  TParityBits Bits() const { return bits_; }
  void SetBits(TParityBits value);
  bool Check() const { return check_; }
  void SetCheck(bool value);
  bool Replace() const { return replace_; }
  void SetReplace(bool value);
  char ReplaceChar() const { return replace_char_; }
  void SetReplaceChar(char value);

 private:
  void Changed();
  TCustomComPort* owner_;
  TParityBits bits_ = prNone;
  bool check_ = false;
  bool replace_ = false;
  char replace_char_ = 0;
};

class TComFlowControl {
 public:
  explicit TComFlowControl(TCustomComPort* owner = nullptr) : owner_(owner) {}
  TComFlowControl(const TComFlowControl&) = delete;
  TComFlowControl& operator=(const TComFlowControl&) = delete;

  void Assign(const TComFlowControl& source);

  // Derived from ControlRTS, OutCTSFlow and the XON/XOFF flags. Setting fcHardware,
  // fcSoftware or fcNone rewrites those four fields (never ControlDTR or OutDSRFlow);
  // fcCustom changes nothing. The group is applied in every case.
  TFlowControl FlowControl() const;
  void SetFlowControl(TFlowControl value);

  bool OutCTSFlow() const { return out_cts_flow_; }
  void SetOutCTSFlow(bool value);
  bool OutDSRFlow() const { return out_dsr_flow_; }
  void SetOutDSRFlow(bool value);
  TDTRFlowControl ControlDTR() const { return control_dtr_; }
  void SetControlDTR(TDTRFlowControl value);
  TRTSFlowControl ControlRTS() const { return control_rts_; }
  void SetControlRTS(TRTSFlowControl value);
  bool XonXoffOut() const { return xon_xoff_out_; }
  void SetXonXoffOut(bool value);
  bool XonXoffIn() const { return xon_xoff_in_; }
  void SetXonXoffIn(bool value);
  bool DSRSensitivity() const { return dsr_sensitivity_; }
  void SetDSRSensitivity(bool value);
  bool TxContinueOnXoff() const { return tx_continue_on_xoff_; }
  void SetTxContinueOnXoff(bool value);
  char XonChar() const { return xon_char_; }
  void SetXonChar(char value);
  char XoffChar() const { return xoff_char_; }
  void SetXoffChar(char value);

 private:
  void Changed();
  TCustomComPort* owner_;
  bool out_cts_flow_ = false;
  bool out_dsr_flow_ = false;
  TDTRFlowControl control_dtr_ = dtrDisable;
  TRTSFlowControl control_rts_ = rtsDisable;
  bool xon_xoff_out_ = false;
  bool xon_xoff_in_ = false;
  bool dsr_sensitivity_ = false;
  bool tx_continue_on_xoff_ = false;
  char xon_char_ = 17;
  char xoff_char_ = 19;
};

// Milliseconds. ReadInterval -1 with both read totals 0: a read returns at once with the
// bytes already received. Writes of n bytes end after WriteTotalConstant +
// WriteTotalMultiplier * n ms at most (both 0: no limit).
class TComTimeouts {
 public:
  explicit TComTimeouts(TCustomComPort* owner = nullptr) : owner_(owner) {}
  TComTimeouts(const TComTimeouts&) = delete;
  TComTimeouts& operator=(const TComTimeouts&) = delete;

  void Assign(const TComTimeouts& source);

  std::int32_t ReadInterval() const { return read_interval_; }
  void SetReadInterval(std::int32_t value);
  std::int32_t ReadTotalMultiplier() const { return read_total_multiplier_; }
  void SetReadTotalMultiplier(std::int32_t value);
  std::int32_t ReadTotalConstant() const { return read_total_constant_; }
  void SetReadTotalConstant(std::int32_t value);
  std::int32_t WriteTotalMultiplier() const { return write_total_multiplier_; }
  void SetWriteTotalMultiplier(std::int32_t value);
  std::int32_t WriteTotalConstant() const { return write_total_constant_; }
  void SetWriteTotalConstant(std::int32_t value);

 private:
  void Changed();
  TCustomComPort* owner_;
  std::int32_t read_interval_ = -1;
  std::int32_t read_total_multiplier_ = 0;
  std::int32_t read_total_constant_ = 0;
  std::int32_t write_total_multiplier_ = 100;
  std::int32_t write_total_constant_ = 1000;
};

// Recommended queue sizes in bytes; an odd size is stored one less (1025 -> 1024).
class TComBuffer {
 public:
  explicit TComBuffer(TCustomComPort* owner = nullptr) : owner_(owner) {}
  TComBuffer(const TComBuffer&) = delete;
  TComBuffer& operator=(const TComBuffer&) = delete;

  void Assign(const TComBuffer& source);

  std::int32_t InputSize() const { return input_size_; }
  void SetInputSize(std::int32_t value);
  std::int32_t OutputSize() const { return output_size_; }
  void SetOutputSize(std::int32_t value);

 private:
  void Changed();
  TCustomComPort* owner_;
  std::int32_t input_size_ = 1024;
  std::int32_t output_size_ = 1024;
};

}  // namespace theolink
