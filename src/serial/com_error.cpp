#include "serial/com_error.h"

#include <array>

namespace theolink {

namespace {

constexpr std::array<const char*, 24> kTexts = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
    "Port Not Open",
};

std::string FullMessage(int code, int os_code) {
  std::string text = ComErrorText(code);
  if (os_code > 0) text += " (Error: " + std::to_string(os_code) + ", " + OsErrorText(os_code) + ")";
  return text;
}

}  // namespace

std::string ComErrorText(int code) {
  if (code < 1 || code > static_cast<int>(kTexts.size())) return {};
  return kTexts[static_cast<std::size_t>(code - 1)];
}

std::optional<TextId> PortAdviceOf(int os_code) {
  switch (OpenProblemOf(os_code)) {
    case PortOpenProblem::NoPermission: return TextId::PortAdviceNoPermission;
    case PortOpenProblem::Busy: return TextId::PortAdviceBusy;
    case PortOpenProblem::Missing: return TextId::PortAdviceMissing;
    case PortOpenProblem::Other: break;
  }
  return std::nullopt;
}

EComPort::EComPort(int code, int os_code)
    : std::runtime_error(FullMessage(code, os_code)), code_(code), os_code_(os_code) {}

}  // namespace theolink
