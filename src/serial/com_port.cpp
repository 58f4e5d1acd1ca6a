#include "serial/com_port.h"

#include <array>
#include <utility>

#include "serial/com_thread.h"
#include "serial/serial_backend.h"

namespace theolink {
namespace {

// Calls a handler the owner may have left unset.
template <class Handler, class... Args>
void CallIfSet(const Handler& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
}

}  // namespace

TCustomComPort::TCustomComPort() : TCustomComPort(CreatePlatformBackend()) {}

TCustomComPort::TCustomComPort(std::unique_ptr<SerialBackend> backend)
    : backend_(std::move(backend)) {}

TCustomComPort::~TCustomComPort() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; make sure the thread and the device are gone anyway.
    thread_.reset();
    if (backend_) backend_->Close();
  }
  JoinRetiredThread();
}

SerialBackend& TCustomComPort::Backend() { return *backend_; }

// --- life cycle ---

void TCustomComPort::Open() {
  if (connected_) return;
  JoinRetiredThread();
  DoBeforeOpen();
  CreateHandle();
  connected_ = true;
  try {
    SetupComPort();
  } catch (...) {
    DestroyHandle();
    connected_ = false;
    throw;
  }
  if (!events_.Empty()) {
    int error = 0;
    auto waiter = Backend().CreateEventWaiter(events_, error);
    if (!waiter) {
      DestroyHandle();
      connected_ = false;
      throw EComPort(CE_OpenFailed, error);
    }
    thread_ = std::make_unique<TComThread>(*this, std::move(waiter), dispatcher_, sync_method_);
    // Started only once it is in place: its first handler may already close the port.
    thread_->Start();
  }
  // Open has succeeded: from here on errors are reported, not raised.
  try {
    DoAfterOpen();
    DoCTSChange(SignalOn(csCTS));
    DoDSRChange(SignalOn(csDSR));
    DoRLSDChange(SignalOn(csRLSD));
  } catch (...) {
    HandleEventException(std::current_exception());
  }
}

bool TCustomComPort::SignalOn(TComSignal signal) noexcept {
  try {
    return Signals().Contains(signal);
  } catch (...) {
    return false;
  }
}

void TCustomComPort::HandleEventException(std::exception_ptr error) noexcept {
  try {
    DoException(error);
  } catch (...) {
    // The report itself failed; there is nobody left to tell.
  }
}

void TCustomComPort::Close() {
  if (!connected_ || closing_) return;
  closing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{closing_};
  DoCTSChange(false);
  DoDSRChange(false);
  DoRLSDChange(false);
  DoBeforeClose();
  AbortAllAsync();
  StopEventThread();
  DestroyHandle();
  connected_ = false;
  DoAfterClose();
}

void TCustomComPort::StopEventThread() {
  if (!thread_) return;
  thread_->Stop();
  if (thread_->IsCurrentThread()) {
    // A handler on the event thread itself closes the port (smNone): the thread ends
    // once that handler returns, and is joined before the port is opened or freed.
    retired_thread_ = std::move(thread_);
  } else {
    thread_->WaitFor();
    thread_.reset();
  }
  // Unread input and unsent output of the session are dropped; the device may already
  // be gone, which is no reason to fail the close.
  Backend().Purge(true, true);
}

void TCustomComPort::JoinRetiredThread() {
  if (!retired_thread_ || retired_thread_->IsCurrentThread()) return;
  retired_thread_->WaitFor();
  retired_thread_.reset();
}

void TCustomComPort::SetConnected(bool value) {
  if (loading_) {
    stored_connected_ = value;
    return;
  }
  if (value) {
    Open();
  } else {
    Close();
  }
}

void TCustomComPort::BeginUpdate() { ++update_count_; }

void TCustomComPort::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) SetupComPort();
}

void TCustomComPort::BeginLoad() { loading_ = true; }

void TCustomComPort::Loaded() {
  loading_ = false;
  if (stored_connected_) {
    stored_connected_ = false;
    Open();
  }
}

// --- settings ---

bool TCustomComPort::CanApply() const { return connected_ && update_count_ == 0 && !loading_; }

void TCustomComPort::SetBaudRate(TBaudRate value) {
  if (StoreChanged(baud_rate_, value)) ApplyDCB();
}
void TCustomComPort::SetCustomBaudRate(std::int32_t value) {
  if (StoreChanged(custom_baud_rate_, value)) ApplyDCB();
}
void TCustomComPort::SetStopBits(TStopBits value) {
  if (StoreChanged(stop_bits_, value)) ApplyDCB();
}
void TCustomComPort::SetDataBits(TDataBits value) {
  if (StoreChanged(data_bits_, value)) ApplyDCB();
}
void TCustomComPort::SetDiscardNull(bool value) {
  if (StoreChanged(discard_null_, value)) ApplyDCB();
}
void TCustomComPort::SetEventChar(char value) {
  if (StoreChanged(event_char_, value)) ApplyDCB();
}

void TCustomComPort::SetPort(const std::string& value) {
  if (value == port_) return;
  port_ = value;
  if (connected_ && !loading_) {
    Close();
    Open();
  }
}

void TCustomComPort::SetSyncMethod(TSyncMethod value) {
  if (value == sync_method_) return;
  if (connected_) throw EComPort(CE_ConnChangeProp);
  sync_method_ = value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority value) {
  if (value == event_thread_priority_) return;
  if (connected_) throw EComPort(CE_ConnChangeProp);
  event_thread_priority_ = value;
}

// --- applying to the device ---

void TCustomComPort::CreateHandle() {
  if (const int e = Backend().Open(PortDevicePath(port_))) throw EComPort(CE_OpenFailed, e);
}

void TCustomComPort::DestroyHandle() { Backend().Close(); }

void TCustomComPort::SetupComPort() {
  ApplyBuffer();
  ApplyDCB();
  ApplyTimeouts();
}

void TCustomComPort::ApplyDCB() {
  if (!CanApply()) return;
  LineSettings s;
  s.baud_rate = baud_rate_ == brCustom ? custom_baud_rate_
                                       : kBaudRateBps[static_cast<std::size_t>(baud_rate_)];
  s.data_bits = 5 + static_cast<int>(data_bits_);
  s.parity = parity_.Bits();
  s.stop_bits = stop_bits_;
  s.parity_check = parity_.Check();
  s.parity_replace = parity_.Check() && parity_.Replace();
  s.replace_char = parity_.ReplaceChar();
  s.discard_null = discard_null_;
  s.out_cts_flow = flow_control_.OutCTSFlow();
  s.out_dsr_flow = flow_control_.OutDSRFlow();
  s.dtr = flow_control_.ControlDTR();
  s.rts = flow_control_.ControlRTS();
  s.xon_xoff_out = flow_control_.XonXoffOut();
  s.xon_xoff_in = flow_control_.XonXoffIn();
  s.dsr_sensitivity = flow_control_.DSRSensitivity();
  s.tx_continue_on_xoff = flow_control_.TxContinueOnXoff();
  s.xon_limit = buffer_.InputSize() / 4;
  s.xoff_limit = buffer_.InputSize() / 4;
  s.xon_char = flow_control_.XonChar();
  s.xoff_char = flow_control_.XoffChar();
  s.event_char = event_char_;
  if (const int e = Backend().ApplyLine(s)) throw EComPort(CE_SetStateFailed, e);
}

void TCustomComPort::ApplyTimeouts() {
  if (!CanApply()) return;
  DeviceTimeouts t;
  // -1 (and any negative value) reads as the largest unsigned value, as the device expects.
  t.read_interval = static_cast<std::uint32_t>(timeouts_.ReadInterval());
  t.read_total_multiplier = static_cast<std::uint32_t>(timeouts_.ReadTotalMultiplier());
  t.read_total_constant = static_cast<std::uint32_t>(timeouts_.ReadTotalConstant());
  t.write_total_multiplier = static_cast<std::uint32_t>(timeouts_.WriteTotalMultiplier());
  t.write_total_constant = static_cast<std::uint32_t>(timeouts_.WriteTotalConstant());
  if (const int e = Backend().ApplyTimeouts(t)) throw EComPort(CE_TimeoutsFailed, e);
}

void TCustomComPort::ApplyBuffer() {
  if (!CanApply()) return;
  if (const int e = Backend().ApplyQueueSizes(buffer_.InputSize(), buffer_.OutputSize())) {
    throw EComPort(CE_SetupComFailed, e);
  }
}

// --- reading and writing ---

int TCustomComPort::Read(void* Buffer, int Count) {
  if (!Backend().IsOpen()) throw EComPort(CEPortNotOpen);
  if (Count <= 0) return 0;
  const IoResult r = Backend().Read(static_cast<char*>(Buffer), static_cast<std::size_t>(Count));
  if (r.error) throw EComPort(CE_ReadFailed, r.error);
  return r.count;
}

int TCustomComPort::ReadStr(std::string& Str, int Count) {
  Str.clear();
  if (Count <= 0) return 0;
  Str.resize(static_cast<std::size_t>(Count));
  int n = 0;
  try {
    n = Read(Str.data(), Count);
  } catch (...) {
    Str.clear();
    throw;
  }
  Str.resize(static_cast<std::size_t>(n));
  return n;
}

int TCustomComPort::Write(const void* Buffer, int Count) {
  if (!Backend().IsOpen()) throw EComPort(CEPortNotOpen);
  if (Count <= 0) return 0;
  const IoResult r =
      Backend().Write(static_cast<const char*>(Buffer), static_cast<std::size_t>(Count));
  if (r.error) throw EComPort(CE_WriteFailed, r.error);
  return r.count;
}

int TCustomComPort::WriteStr(const std::string& Str) {
  if (Str.empty()) return 0;
  return Write(Str.data(), static_cast<int>(Str.size()));
}

// --- queries and line control ---

int TCustomComPort::InputCount() {
  int n = 0;
  if (const int e = Backend().InputCount(n)) throw EComPort(CE_ClearComFailed, e);
  return n;
}

int TCustomComPort::OutputCount() {
  int n = 0;
  if (const int e = Backend().OutputCount(n)) throw EComPort(CE_ClearComFailed, e);
  return n;
}

TComSignals TCustomComPort::Signals() {
  TComSignals s;
  if (const int e = Backend().ModemLines(s)) throw EComPort(CE_ModemStatFailed, e);
  return s;
}

TComErrors TCustomComPort::LastErrors() {
  TComErrors errors;
  if (const int e = Backend().TakeErrors(errors)) throw EComPort(CE_ClearComFailed, e);
  if (!parity_.Check()) errors.Exclude(ceRxParity);
  return errors;
}

TComStateFlags TCustomComPort::StateFlags() {
  TComStateFlags flags;
  if (const int e = Backend().HoldFlags(flags)) throw EComPort(CE_ClearComFailed, e);
  return flags;
}

void TCustomComPort::SetDTR(bool OnOff) {
  if (const int e = Backend().SetDTR(OnOff)) throw EComPort(CE_EscapeComFailed, e);
}
void TCustomComPort::SetRTS(bool OnOff) {
  if (const int e = Backend().SetRTS(OnOff)) throw EComPort(CE_EscapeComFailed, e);
}
void TCustomComPort::SetBreak(bool OnOff) {
  if (const int e = Backend().SetBreak(OnOff)) throw EComPort(CE_EscapeComFailed, e);
}
void TCustomComPort::SetXonXoff(bool State) {
  if (const int e = Backend().SetXonXoff(State)) throw EComPort(CE_EscapeComFailed, e);
}
void TCustomComPort::ClearBuffer(bool Input, bool Output) {
  if (const int e = Backend().Purge(Input, Output)) throw EComPort(CE_PurgeFailed, e);
}
void TCustomComPort::TransmitChar(char Ch) {
  if (const int e = Backend().TransmitChar(Ch)) throw EComPort(CE_TransmitFailed, e);
}
void TCustomComPort::AbortAllAsync() {
  if (const int e = Backend().AbortPending()) throw EComPort(CE_PurgeFailed, e);
}

// --- run by the event hand-off ---

void TCustomComPort::CallError() {
  const TComErrors errors = LastErrors();
  if (!errors.Empty()) DoError(errors);
}

void TCustomComPort::CallRxChar() {
  int count = InputCount();
  if (!triggers_on_rx_char_) {
    if (count > 0) {
      std::string buffer(static_cast<std::size_t>(count), '\0');
      const int n = Read(buffer.data(), count);
      DoRxBuf(buffer.data(), n);
    }
    count = 0;
  }
  if (count > 0) DoRxChar(count);
}

void TCustomComPort::CallTxEmpty() { DoTxEmpty(); }
void TCustomComPort::CallBreak() { DoBreak(); }
void TCustomComPort::CallRing() { DoRing(); }
void TCustomComPort::CallRxFlag() { DoRxFlag(); }
void TCustomComPort::CallRx80Full() { DoRx80Full(); }
void TCustomComPort::CallCTSChange() { DoCTSChange(Signals().Contains(csCTS)); }
void TCustomComPort::CallDSRChange() { DoDSRChange(Signals().Contains(csDSR)); }
void TCustomComPort::CallRLSDChange() { DoRLSDChange(Signals().Contains(csRLSD)); }

// --- handler calls ---

void TCustomComPort::DoAfterClose() { CallIfSet(OnAfterClose, *this); }
void TCustomComPort::DoAfterOpen() { CallIfSet(OnAfterOpen, *this); }
void TCustomComPort::DoBeforeClose() { CallIfSet(OnBeforeClose, *this); }
void TCustomComPort::DoBeforeOpen() { CallIfSet(OnBeforeOpen, *this); }
void TCustomComPort::DoRxChar(int Count) { CallIfSet(OnRxChar, *this, Count); }
void TCustomComPort::DoRxBuf(const char* Buffer, int Count) { CallIfSet(OnRxBuf, *this, Buffer, Count); }
void TCustomComPort::DoTxEmpty() { CallIfSet(OnTxEmpty, *this); }
void TCustomComPort::DoBreak() { CallIfSet(OnBreak, *this); }
void TCustomComPort::DoRing() { CallIfSet(OnRing, *this); }
void TCustomComPort::DoRxFlag() { CallIfSet(OnRxFlag, *this); }
void TCustomComPort::DoCTSChange(bool OnOff) { CallIfSet(OnCTSChange, *this, OnOff); }
void TCustomComPort::DoDSRChange(bool OnOff) { CallIfSet(OnDSRChange, *this, OnOff); }
void TCustomComPort::DoError(TComErrors Errors) { CallIfSet(OnError, *this, Errors); }
void TCustomComPort::DoRLSDChange(bool OnOff) { CallIfSet(OnRLSDChange, *this, OnOff); }
void TCustomComPort::DoRx80Full() { CallIfSet(OnRx80Full, *this); }
void TCustomComPort::DoException(std::exception_ptr error) {
  if (OnException) {
    OnException(*this, error);
  } else if (dispatcher_) {
    dispatcher_->ReportError(error);
  }
}

}  // namespace theolink
