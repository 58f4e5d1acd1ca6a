#pragma once
// The serial port component.
//
// Threads:
// - The owning thread (the user-interface thread) makes, configures, opens, closes and
//   frees the port, and calls Read/Write and the queries. None of these may be called on
//   two threads at once; the component holds no lock.
// - The event thread only waits on the device and hands each batch of events over. With a
//   dispatcher and smThreadSync or smWindowSync the Call... operations, and so every On...
//   handler, run on the owning thread; with smNone (or no dispatcher) they run on the event
//   thread, which must then be the only one touching the port while they run.
// - Connected() may be read on any thread. Close, called from a handler on either thread,
//   is safe: the event thread ends once that handler returns.
// - A handler that raises ends the event reporting of this opening: the error goes to
//   OnException (on the thread that ran the handler), else to the dispatcher's ReportError;
//   Close and Open start the reporting again.
// - Open either raises and leaves the port closed, or succeeds and raises nothing after:
//   errors of the after-open reports go to OnException as well.
//
// Port names: a device path ("/dev/ttyUSB0") is used as it is; a bare name ("ttyUSB0")
// means "/dev/ttyUSB0"; a stored Windows-style name "COMn" (any case, n >= 1) means
// "/dev/ttyS<n-1>", so the default "COM1" is /dev/ttyS0 and "COM3" is /dev/ttyS2.
//
// Linux limits (the device accepts the setting; the line behaves as described):
// - any integer baud rate the driver takes; rate 0 is refused (SetCommState error).
// - 1.5 stop bits select two stop bits, which a UART gives as 1.5 with 5 data bits.
// - mark and space parity use CMSPAR.
// - Parity.Check enables input parity checking; a byte with a parity error then reads
//   as NUL (Linux offers no other replacement character), whatever Replace says.
// - OutCTSFlow and rtsHandshake both switch on CRTSCTS, which covers both directions.
// - OutDSRFlow, DSRSensitivity, TxContinueOnXoff, the XON/XOFF thresholds and
//   EventChar have no Linux counterpart and are ignored; dtrHandshake holds DTR active,
//   rtsToggle holds RTS inactive.
// - DiscardNull drops NUL bytes as they are read (InputCount still counts them).
// - Queue sizes are fixed by the driver; the recommendation is accepted and ignored.
// - StateFlags reports no hold flags; TransmitChar writes its byte after queued output.
// - Modem lines that a device cannot report (a pseudo-terminal) read as no lines, and
//   DTR/RTS settings it cannot take are skipped when settings are applied; an explicit
//   SetDTR/SetRTS there raises error 12.
// - The event thread reports evRxChar (new bytes arrived) and evError (the device hung
//   up: unplugged adapter, closed pseudo-terminal master; LastErrors then holds ceIO).
//   After a hang-up the thread stops waiting; later reads and writes raise their errors.
//   No other event is produced. A wake-up means new bytes: bytes a handler leaves unread
//   are counted again with the next arrival. A wait that fails (other than by a signal)
//   ends the thread rather than being retried in a loop.
// - LastErrors reports framing, parity, overrun, break and overflow errors where the
//   driver counts them (real UARTs), and ceIO while the device is hung up.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "serial/com_error.h"
#include "serial/com_settings.h"
#include "serial/com_types.h"
#include "serial/ui_dispatcher.h"

namespace theolink {

class SerialBackend;
class TComThread;
class TCustomComPort;

using TNotifyEvent = std::function<void(TCustomComPort& Sender)>;
using TRxCharEvent = std::function<void(TCustomComPort& Sender, int Count)>;
using TRxBufEvent = std::function<void(TCustomComPort& Sender, const char* Buffer, int Count)>;
using TComSignalEvent = std::function<void(TCustomComPort& Sender, bool OnOff)>;
using TComErrorEvent = std::function<void(TCustomComPort& Sender, TComErrors Errors)>;
using TComExceptionEvent = std::function<void(TCustomComPort& Sender, std::exception_ptr Error)>;

// Maps a port name to the device path opened (see the top of this file).
std::string PortDevicePath(const std::string& name);

class TCustomComPort {
 public:
  // Uses the platform's serial service.
  TCustomComPort();
  // Uses the given serial service (tests).
  explicit TCustomComPort(std::unique_ptr<SerialBackend> backend);
  // Closes the port if open (errors are swallowed).
  virtual ~TCustomComPort();
  TCustomComPort(const TCustomComPort&) = delete;
  TCustomComPort& operator=(const TCustomComPort&) = delete;

  // --- life cycle ---
  // Opens the device, applies every setting, starts the event thread unless Events is
  // empty. Does nothing when connected. Raises EComPort; a failed Open leaves it closed.
  void Open();
  // Stops the event thread (pending hand-offs are dropped), discards the queues, closes.
  void Close();
  bool Connected() const { return connected_; }
  // While loading only stores; otherwise true opens, false closes.
  void SetConnected(bool value);
  // Nested; while above 0 no setting is applied; the EndUpdate that reaches 0 applies all.
  void BeginUpdate();
  void EndUpdate();
  // Marks the start of loading stored values: setters only store until Loaded.
  void BeginLoad();
  // Ends loading; opens the port if Connected was stored true (errors go to the caller).
  virtual void Loaded();
  bool Loading() const { return loading_; }

  // --- settings ---
  TBaudRate BaudRate() const { return baud_rate_; }
  void SetBaudRate(TBaudRate value);
  // The rate used when BaudRate is brCustom.
  std::int32_t CustomBaudRate() const { return custom_baud_rate_; }
  void SetCustomBaudRate(std::int32_t value);
  const std::string& Port() const { return port_; }
  // A different name (case-sensitive) reopens an open port under that name.
  void SetPort(const std::string& value);
  TComParity& Parity() { return parity_; }
  const TComParity& Parity() const { return parity_; }
  void SetParity(const TComParity& value) { parity_.Assign(value); }
  TStopBits StopBits() const { return stop_bits_; }
  void SetStopBits(TStopBits value);
  TDataBits DataBits() const { return data_bits_; }
  void SetDataBits(TDataBits value);
  bool DiscardNull() const { return discard_null_; }
  void SetDiscardNull(bool value);
  char EventChar() const { return event_char_; }
  void SetEventChar(char value);
  // Used at the next Open.
  TComEvents Events() const { return events_; }
  void SetEvents(TComEvents value) { events_ = value; }
  TComBuffer& Buffer() { return buffer_; }
  const TComBuffer& Buffer() const { return buffer_; }
  void SetBuffer(const TComBuffer& value) { buffer_.Assign(value); }
  TComFlowControl& FlowControl() { return flow_control_; }
  const TComFlowControl& FlowControl() const { return flow_control_; }
  void SetFlowControl(const TComFlowControl& value) { flow_control_.Assign(value); }
  TComTimeouts& Timeouts() { return timeouts_; }
  const TComTimeouts& Timeouts() const { return timeouts_; }
  void SetTimeouts(const TComTimeouts& value) { timeouts_.Assign(value); }
  TStoredProps StoredProps() const { return stored_props_; }
  void SetStoredProps(TStoredProps value) { stored_props_ = value; }
  bool TriggersOnRxChar() const { return triggers_on_rx_char_; }
  void SetTriggersOnRxChar(bool value) { triggers_on_rx_char_ = value; }
  // Raise error 14 when changed while connected.
  TSyncMethod SyncMethod() const { return sync_method_; }
  void SetSyncMethod(TSyncMethod value);
  // Stored only: Linux runs the event thread at normal priority.
  TThreadPriority EventThreadPriority() const { return event_thread_priority_; }
  void SetEventThreadPriority(TThreadPriority value);
  std::uint32_t CodePage() const { return code_page_; }
  void SetCodePage(std::uint32_t value) { code_page_ = value; }

  // The user-interface thread's dispatcher for smThreadSync and smWindowSync. Without
  // one, events are handled on the event thread itself (as smNone). Set while closed.
  void SetDispatcher(UiDispatcher* dispatcher) { dispatcher_ = dispatcher; }
  UiDispatcher* Dispatcher() const { return dispatcher_; }

  // --- reading and writing (block until done or timed out; raise error 24 when closed) ---
  int Read(void* Buffer, int Count);
  // Str becomes the bytes read (at most Count; Count <= 0 reads nothing).
  int ReadStr(std::string& Str, int Count);
  int Write(const void* Buffer, int Count);
  // An empty Str writes nothing and returns 0.
  int WriteStr(const std::string& Str);

  // --- queries and line control ---
  int InputCount();
  int OutputCount();
  TComSignals Signals();
  // Reads and clears the line-error flags.
  TComErrors LastErrors();
  TComStateFlags StateFlags();
  void SetDTR(bool OnOff);
  void SetRTS(bool OnOff);
  void SetBreak(bool OnOff);
  // true: as if XON was received (output resumes); false: as if XOFF was received.
  void SetXonXoff(bool State);
  void ClearBuffer(bool Input, bool Output);
  void TransmitChar(char Ch);
  // Discards pending reads and writes (none outlive their call on Linux).
  void AbortAllAsync();

  // --- run by the event hand-off ---
  void CallError();
  void CallRxChar();
  void CallTxEmpty();
  void CallBreak();
  void CallRing();
  void CallCTSChange();
  void CallDSRChange();
  void CallRxFlag();
  void CallRLSDChange();
  void CallRx80Full();

  // Reports an error raised by a handler run by the event hand-off (see the top of this
  // file); never throws.
  void HandleEventException(std::exception_ptr error) noexcept;

  // The running event thread, or none (for diagnostics such as its CPU time).
  const TComThread* EventThread() const { return thread_.get(); }

  // --- handlers ---
  TNotifyEvent OnAfterOpen;
  TNotifyEvent OnAfterClose;
  TNotifyEvent OnBeforeOpen;
  TNotifyEvent OnBeforeClose;
  TRxCharEvent OnRxChar;
  TRxBufEvent OnRxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnBreak;
  TNotifyEvent OnRing;
  TNotifyEvent OnRxFlag;
  TNotifyEvent OnRx80Full;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TComErrorEvent OnError;
  // A handler's error that ended the event reporting, or an error after a successful Open.
  TComExceptionEvent OnException;

 protected:
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void SetupComPort();
  virtual void DoAfterClose();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoRxChar(int Count);
  virtual void DoRxBuf(const char* Buffer, int Count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoRxFlag();
  virtual void DoCTSChange(bool OnOff);
  virtual void DoDSRChange(bool OnOff);
  virtual void DoError(TComErrors Errors);
  virtual void DoRLSDChange(bool OnOff);
  virtual void DoRx80Full();
  virtual void DoException(std::exception_ptr error);
  virtual void ApplyDCB();
  virtual void ApplyTimeouts();
  virtual void ApplyBuffer();

 private:
  friend class TComParity;
  friend class TComFlowControl;
  friend class TComTimeouts;
  friend class TComBuffer;

  bool CanApply() const;
  // The modem line now; a failure to read it reads as off (Open must not raise late).
  bool SignalOn(TComSignal signal) noexcept;
  void StopEventThread();
  void JoinRetiredThread();
  SerialBackend& Backend();

  std::unique_ptr<SerialBackend> backend_;
  std::unique_ptr<TComThread> thread_;
  // A thread whose own handler closed the port; joined by the owning thread later.
  std::unique_ptr<TComThread> retired_thread_;
  UiDispatcher* dispatcher_ = nullptr;
  std::atomic<bool> connected_{false};
  bool stored_connected_ = false;
  bool loading_ = false;
  bool closing_ = false;
  int update_count_ = 0;

  TBaudRate baud_rate_ = br9600;
  std::int32_t custom_baud_rate_ = 9600;
  std::string port_ = "COM1";
  TComParity parity_{this};
  TStopBits stop_bits_ = sbOneStopBit;
  TDataBits data_bits_ = dbEight;
  bool discard_null_ = false;
  char event_char_ = 0;
  TComEvents events_ = kAllComEvents;
  TComBuffer buffer_{this};
  TComFlowControl flow_control_{this};
  TComTimeouts timeouts_{this};
  TStoredProps stored_props_{spBasic};
  bool triggers_on_rx_char_ = true;
  TSyncMethod sync_method_ = smThreadSync;
  TThreadPriority event_thread_priority_ = tpNormal;
  std::uint32_t code_page_ = 0;
};

// The published form of the component; adds nothing.
class TComPort : public TCustomComPort {
 public:
  using TCustomComPort::TCustomComPort;
};

}  // namespace theolink
