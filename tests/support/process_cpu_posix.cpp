#include <sys/resource.h>

#include "support/waits.h"

namespace theolink::test {

std::chrono::microseconds ProcessCpuTime() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

}  // namespace theolink::test
