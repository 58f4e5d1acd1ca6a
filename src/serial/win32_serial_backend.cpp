#include "serial/win32_serial_backend.h"

#include <algorithm>

#include "files/wide_text.h"

namespace theolink {

std::unique_ptr<SerialBackend> CreatePlatformBackend() {
  return std::make_unique<win32::Win32SerialBackend>();
}

namespace win32 {

namespace {

int LastError() { return static_cast<int>(::GetLastError()); }

// An event handle closed with its owner.
class EventHandle {
 public:
  EventHandle() : h_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~EventHandle() {
    if (h_ != nullptr) ::CloseHandle(h_);
  }
  EventHandle(const EventHandle&) = delete;
  EventHandle& operator=(const EventHandle&) = delete;
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

BYTE ParityOf(TParityBits parity) {
  switch (parity) {
    case prOdd: return ODDPARITY;
    case prEven: return EVENPARITY;
    case prMark: return MARKPARITY;
    case prSpace: return SPACEPARITY;
    case prNone: break;
  }
  return NOPARITY;
}

BYTE StopBitsOf(TStopBits bits) {
  switch (bits) {
    case sbOne5StopBits: return ONE5STOPBITS;
    case sbTwoStopBits: return TWOSTOPBITS;
    case sbOneStopBit: break;
  }
  return ONESTOPBIT;
}

DWORD DtrOf(TDTRFlowControl dtr) {
  switch (dtr) {
    case dtrEnable: return DTR_CONTROL_ENABLE;
    case dtrHandshake: return DTR_CONTROL_HANDSHAKE;
    case dtrDisable: break;
  }
  return DTR_CONTROL_DISABLE;
}

DWORD RtsOf(TRTSFlowControl rts) {
  switch (rts) {
    case rtsEnable: return RTS_CONTROL_ENABLE;
    case rtsHandshake: return RTS_CONTROL_HANDSHAKE;
    case rtsToggle: return RTS_CONTROL_TOGGLE;
    case rtsDisable: break;
  }
  return RTS_CONTROL_DISABLE;
}

}  // namespace

bool IsHangUpError(DWORD code) {
  return code == ERROR_BAD_COMMAND || code == ERROR_DEVICE_REMOVED || code == ERROR_DEV_NOT_EXIST ||
         code == ERROR_GEN_FAILURE || code == ERROR_NOT_READY || code == ERROR_BROKEN_PIPE ||
         code == ERROR_HANDLE_EOF || code == ERROR_INVALID_HANDLE;
}

Win32SerialBackend::~Win32SerialBackend() { Close(); }

int Win32SerialBackend::Open(const std::string& device_path) {
  if (IsOpen()) return ERROR_BUSY;
  // No sharing: Windows keeps every other opener out of a serial port.
  const HANDLE h = ::CreateFileW(Utf8ToWide(device_path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(h, &dcb)) {
    const int e = LastError();
    ::CloseHandle(h);
    return e;
  }
  found_ = dcb;
  hung_up_ = std::make_shared<std::atomic<bool>>(false);
  handle_ = h;
  return 0;
}

void Win32SerialBackend::Close() {
  const HANDLE h = handle_.exchange(INVALID_HANDLE_VALUE);
  if (h == INVALID_HANDLE_VALUE) return;
  // The next program finds the line as this one found it.
  ::SetCommState(h, &found_);
  ::CloseHandle(h);
}

int Win32SerialBackend::ApplyLine(const LineSettings& s) {
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  if (s.baud_rate <= 0 || s.baud_rate > 0xFFFFFFFFll) return ERROR_INVALID_PARAMETER;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(h, &dcb)) return LastError();
  dcb.BaudRate = static_cast<DWORD>(s.baud_rate);
  dcb.ByteSize = static_cast<BYTE>(std::clamp(s.data_bits, 5, 8));
  dcb.Parity = ParityOf(s.parity);
  dcb.StopBits = StopBitsOf(s.stop_bits);
  dcb.fBinary = TRUE;
  dcb.fParity = s.parity_check && s.parity != prNone;
  dcb.fErrorChar = s.parity_replace;
  dcb.ErrorChar = s.replace_char;
  dcb.fNull = s.discard_null;
  dcb.fOutxCtsFlow = s.out_cts_flow;
  dcb.fOutxDsrFlow = s.out_dsr_flow;
  dcb.fDtrControl = DtrOf(s.dtr);
  dcb.fRtsControl = RtsOf(s.rts);
  dcb.fOutX = s.xon_xoff_out;
  dcb.fInX = s.xon_xoff_in;
  dcb.fDsrSensitivity = s.dsr_sensitivity;
  dcb.fTXContinueOnXoff = s.tx_continue_on_xoff;
  dcb.fAbortOnError = FALSE;
  dcb.XonLim = static_cast<WORD>(s.xon_limit);
  dcb.XoffLim = static_cast<WORD>(s.xoff_limit);
  dcb.XonChar = s.xon_char;
  dcb.XoffChar = s.xoff_char;
  dcb.EvtChar = s.event_char;
  if (!::SetCommState(h, &dcb)) return LastError();
  return 0;
}

int Win32SerialBackend::ApplyTimeouts(const DeviceTimeouts& t) {
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  COMMTIMEOUTS timeouts{t.read_interval, t.read_total_multiplier, t.read_total_constant, t.write_total_multiplier,
                        t.write_total_constant};
  if (!::SetCommTimeouts(h, &timeouts)) return LastError();
  return 0;
}

int Win32SerialBackend::ApplyQueueSizes(int input_size, int output_size) {
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  if (!::SetupComm(h, static_cast<DWORD>(input_size), static_cast<DWORD>(output_size))) return LastError();
  return 0;
}

IoResult Win32SerialBackend::Transfer(bool write, char* buffer, std::size_t count) {
  IoResult result;
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) {
    result.error = ERROR_INVALID_HANDLE;
    return result;
  }
  EventHandle done;
  OVERLAPPED ov{};
  ov.hEvent = done.Get();
  const DWORD size = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
  DWORD n = 0;
  const BOOL ok = write ? ::WriteFile(h, buffer, size, &n, &ov) : ::ReadFile(h, buffer, size, &n, &ov);
  if (!ok) {
    DWORD e = ::GetLastError();
    if (e == ERROR_IO_PENDING) e = ::GetOverlappedResult(h, &ov, &n, TRUE) ? ERROR_SUCCESS : ::GetLastError();
    if (e != ERROR_SUCCESS && e != ERROR_OPERATION_ABORTED) {
      if (IsHangUpError(e)) *hung_up_ = true;
      if (n == 0) result.error = static_cast<int>(e);
    }
  }
  result.count = static_cast<int>(n);
  return result;
}

IoResult Win32SerialBackend::Read(char* buffer, std::size_t count) { return Transfer(false, buffer, count); }

IoResult Win32SerialBackend::Write(const char* buffer, std::size_t count) {
  // WriteFile only reads the buffer.
  return Transfer(true, const_cast<char*>(buffer), count);
}

int Win32SerialBackend::Status(COMSTAT& status, DWORD& errors) {
  status = {};
  errors = 0;
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  if (!::ClearCommError(h, &errors, &status)) {
    const DWORD e = ::GetLastError();
    if (IsHangUpError(e)) *hung_up_ = true;
    return static_cast<int>(e);
  }
  return 0;
}

int Win32SerialBackend::QueueCount(DWORD COMSTAT::*queue, int& count) {
  COMSTAT status{};
  DWORD errors = 0;
  const int e = Status(status, errors);
  count = static_cast<int>(status.*queue);
  return e;
}

int Win32SerialBackend::InputCount(int& count) { return QueueCount(&COMSTAT::cbInQue, count); }

int Win32SerialBackend::OutputCount(int& count) { return QueueCount(&COMSTAT::cbOutQue, count); }

int Win32SerialBackend::TakeErrors(TComErrors& result) {
  result = {};
  COMSTAT status;
  DWORD errors;
  const int e = Status(status, errors);
  // A device that is gone cannot be asked; it says so as the I/O error of its line.
  if (*hung_up_) {
    result.Include(ceIO);
    return 0;
  }
  if (e != 0) return e;
  static constexpr std::array<std::pair<unsigned long, TComError>, 8> kErrorBits = {{
      {CE_FRAME, ceFrame}, {CE_RXPARITY, ceRxParity}, {CE_OVERRUN, ceOverrun}, {CE_BREAK, ceBreak},
      {CE_IOE, ceIO}, {CE_MODE, ceMode}, {CE_RXOVER, ceRxOver}, {CE_TXFULL, ceTxFull}}};
  result = TComErrors::FromMask(errors, kErrorBits);
  return 0;
}

int Win32SerialBackend::ModemLines(TComSignals& signals) {
  signals = {};
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  DWORD bits = 0;
  if (!::GetCommModemStatus(h, &bits)) {
    const DWORD e = ::GetLastError();
    // A line without modem signals (a virtual port) answers so; it has none to report.
    if (e == ERROR_NOT_SUPPORTED || e == ERROR_INVALID_PARAMETER || e == ERROR_INVALID_FUNCTION) return 0;
    return static_cast<int>(e);
  }
  static constexpr std::array<std::pair<unsigned long, TComSignal>, 4> kLineBits = {
      {{MS_CTS_ON, csCTS}, {MS_DSR_ON, csDSR}, {MS_RING_ON, csRing}, {MS_RLSD_ON, csRLSD}}};
  signals = TComSignals::FromMask(bits, kLineBits);
  return 0;
}

int Win32SerialBackend::HoldFlags(TComStateFlags& flags) {
  flags = {};
  COMSTAT status;
  DWORD errors;
  if (const int e = Status(status, errors)) return e;
  if (status.fCtsHold) flags.Include(fsCTSHold);
  if (status.fDsrHold) flags.Include(fsDSRHold);
  if (status.fRlsdHold) flags.Include(fsRLSDHold);
  if (status.fXoffHold) flags.Include(fsXOnHold);
  if (status.fXoffSent) flags.Include(fsXOffHold);
  if (status.fEof) flags.Include(fsEOF);
  if (status.fTxim) flags.Include(fsTxim);
  return 0;
}

template <typename Call>
int Win32SerialBackend::OnPort(Call call) {
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  return call(h) ? 0 : LastError();
}

int Win32SerialBackend::Escape(DWORD function) {
  return OnPort([function](HANDLE h) { return ::EscapeCommFunction(h, function); });
}

int Win32SerialBackend::SetDTR(bool on) { return Escape(on ? SETDTR : CLRDTR); }
int Win32SerialBackend::SetRTS(bool on) { return Escape(on ? SETRTS : CLRRTS); }
int Win32SerialBackend::SetBreak(bool on) { return Escape(on ? SETBREAK : CLRBREAK); }
int Win32SerialBackend::SetXonXoff(bool xon) { return Escape(xon ? SETXON : SETXOFF); }

int Win32SerialBackend::Purge(bool input, bool output) {
  const DWORD flags = (input ? PURGE_RXCLEAR : 0) | (output ? PURGE_TXCLEAR : 0);
  return OnPort([flags](HANDLE h) { return flags == 0 || ::PurgeComm(h, flags); });
}

int Win32SerialBackend::AbortPending() {
  return OnPort([](HANDLE h) { return ::PurgeComm(h, PURGE_RXABORT | PURGE_TXABORT); });
}

int Win32SerialBackend::TransmitChar(char ch) {
  return OnPort([ch](HANDLE h) { return ::TransmitCommChar(h, ch); });
}

std::unique_ptr<EventWaiter> Win32SerialBackend::CreateEventWaiter(TComEvents selected, int& error) {
  const HANDLE h = handle_;
  if (h == INVALID_HANDLE_VALUE) {
    error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  return CreateCommEventWaiter(h, selected, hung_up_, error);
}

}  // namespace win32
}  // namespace theolink
