#pragma once
// The serial port component's error: a code from 1 to 24 and the operating system's code.
#include <stdexcept>
#include <string>

namespace theolink {

enum : int {
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

class EComPort : public std::runtime_error {
 public:
  // os_code is the operating system's error code (errno on Linux), -1 when there is none.
  // what() is the code's text, followed by " (Error: <os_code>)" when os_code > 0.
  explicit EComPort(int code, int os_code = -1);

  int ErrorCode() const { return code_; }
  int OsErrorCode() const { return os_code_; }

 private:
  int code_;
  int os_code_;
};

}  // namespace theolink
