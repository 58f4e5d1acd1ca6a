#pragma once
// Arbitrary baud rates on Linux ttys (termios2). Kept apart because the kernel's termios
// header clashes with the C library's.
#include <cstdint>

namespace theolink::posix {

// Sets both directions to rate, keeping the other line settings; 0 or errno.
int SetCustomBaudRate(int fd, std::uint32_t rate);
// Reads back the input and output rates as numbers; 0 or errno.
int GetBaudRates(int fd, std::uint32_t& input_rate, std::uint32_t& output_rate);

}  // namespace theolink::posix
