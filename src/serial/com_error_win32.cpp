// The component's view of the Win32 error codes: the system's own text for each.
#include <windows.h>

#include "files/wide_text.h"
#include "serial/com_error.h"

namespace theolink {

std::string OsErrorText(int os_code) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(os_code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::string text = n > 0 ? WideToUtf8(std::wstring_view(buffer, n)) : std::string();
  ::LocalFree(buffer);
  // The system's texts end in ".\r\n"; inside the component's brackets they end bare.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "Unknown error " + std::to_string(os_code);
  return text;
}

PortOpenProblem OpenProblemOf(int os_code) {
  switch (os_code) {
    // Windows refuses a port another program holds with "Access is denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
      return PortOpenProblem::Busy;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_UNIT:
      return PortOpenProblem::Missing;
    default:
      return PortOpenProblem::Other;
  }
}

}  // namespace theolink
