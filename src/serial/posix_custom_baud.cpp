// Only the kernel's termios header here: <termios.h> must not be included in this file.
#include "serial/posix_custom_baud.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept;

namespace theolink::posix {

int SetCustomBaudRate(int fd, std::uint32_t rate) {
  termios2 tio{};
  if (ioctl(fd, TCGETS2, &tio) != 0) return errno;
  tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = rate;
  tio.c_ospeed = rate;
  if (ioctl(fd, TCSETS2, &tio) != 0) return errno;
  return 0;
}

int GetBaudRates(int fd, std::uint32_t& input_rate, std::uint32_t& output_rate) {
  termios2 tio{};
  if (ioctl(fd, TCGETS2, &tio) != 0) return errno;
  input_rate = tio.c_ispeed;
  output_rate = tio.c_ospeed;
  return 0;
}

}  // namespace theolink::posix
