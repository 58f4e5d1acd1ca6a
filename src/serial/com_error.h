#pragma once
// The serial port component's error: a code from 1 to 24 and the operating system's code.
#include <optional>
#include <stdexcept>
#include <string>

#include "records/text_id.h"

namespace theolink {

// The component's error codes; the numbers are fixed.
enum TComErrorCode : int {
  CE_OpenFailed = 1,
  CE_WriteFailed = 2,
  CE_ReadFailed = 3,
  CE_InvalidAsync = 4,
  CE_PurgeFailed = 5,
  CE_AsyncCheck = 6,
  CE_SetStateFailed = 7,
  CE_TimeoutsFailed = 8,
  CE_SetupComFailed = 9,
  CE_ClearComFailed = 10,
  CE_ModemStatFailed = 11,
  CE_EscapeComFailed = 12,
  CE_TransmitFailed = 13,
  CE_ConnChangeProp = 14,
  CE_EnumPortsFailed = 15,
  CE_StoreFailed = 16,
  CE_LoadFailed = 17,
  CE_RegFailed = 18,
  CE_LedStateFailed = 19,
  CE_ThreadCreated = 20,
  CE_WaitFailed = 21,
  CE_HasLink = 22,
  CE_RegError = 23,
  CEPortNotOpen = 24,
};

// The fixed text of an error code ("Unable to open com port" for 1); empty outside 1..24.
std::string ComErrorText(int code);

// The system's text for an operating-system code ("Permission denied" for EACCES).
std::string OsErrorText(int os_code);

// What a failed open most likely means for the person at the keyboard.
enum class PortOpenProblem {
  Other,
  NoPermission,  // the device's group (dialout) does not include this user
  Busy,          // another program holds the port
  Missing,       // no such device: unplugged adapter or cable, or a wrong name
};
PortOpenProblem OpenProblemOf(int os_code);
// The advice text for a failed open's system code (its %1 is the port), if there is one.
std::optional<TextId> PortAdviceOf(int os_code);

class EComPort : public std::runtime_error {
 public:
  // os_code is the operating system's error code (errno on Linux), -1 when there is none.
  // what() is the code's text, followed by " (Error: <os_code>, <system text>)" when
  // os_code > 0: "Unable to open com port (Error: 13, Permission denied)".
  explicit EComPort(int code, int os_code = -1);

  int ErrorCode() const { return code_; }
  int OsErrorCode() const { return os_code_; }

 private:
  int code_;
  int os_code_;
};

}  // namespace theolink
