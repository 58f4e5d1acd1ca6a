// The ports Windows lists under HARDWARE\DEVICEMAP\SERIALCOMM.
#include <windows.h>

#include "files/wide_text.h"
#include "serial/com_enum.h"

namespace theolink {

void EnumComPorts(std::vector<std::string>& strings) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS) {
    // No key: no serial port has ever been there.
    strings.clear();
    return;
  }
  std::vector<std::string> found;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameSize = 256;
    wchar_t value[256];
    DWORD valueSize = sizeof value;
    DWORD type = 0;
    const LONG rc = ::RegEnumValueW(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                    &valueSize);
    if (rc == ERROR_MORE_DATA) continue;  // no port name is that long
    if (rc != ERROR_SUCCESS) break;
    if (type != REG_SZ || valueSize < sizeof(wchar_t)) continue;
    std::wstring port(value, valueSize / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.pop_back();
    if (!port.empty()) found.push_back(WideToUtf8(port));
  }
  ::RegCloseKey(key);
  SortNoCase(found);
  strings = std::move(found);
}

// Windows grants every user its serial ports; a port in use is refused at the open.
bool MayOpenPort(const std::string&) { return true; }

bool HasSerialHardware(const std::string& device_path) {
  std::vector<std::string> ports;
  EnumComPorts(ports);
  for (const std::string& port : ports) {
    if (port == device_path) return true;
  }
  return false;
}

}  // namespace theolink
