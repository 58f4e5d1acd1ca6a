#include <windows.h>

#include "support/waits.h"

namespace theolink::test {

std::chrono::microseconds ProcessCpuTime() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return {};
  auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return std::chrono::microseconds((ticks(kernel) + ticks(user)) / 10);  // 100 ns ticks
}

}  // namespace theolink::test
