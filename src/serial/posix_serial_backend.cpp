#include "serial/posix_serial_backend.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "serial/posix_custom_baud.h"

namespace theolink {

std::unique_ptr<SerialBackend> CreatePlatformBackend() {
  return std::make_unique<posix::PosixSerialBackend>();
}

namespace posix {

namespace {

using Clock = std::chrono::steady_clock;

speed_t StandardSpeed(std::int64_t rate) {
  switch (rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return B0;
  }
}

// A device without modem lines (a pseudo-terminal) answers these.
bool Unsupported(int error) { return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP; }

int ModemBits(int fd, int bits, bool on) {
  if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) != 0) return errno;
  return 0;
}

// Milliseconds left until deadline, clamped for poll; -1 without a deadline.
int MillisLeft(const Clock::time_point* deadline) {
  if (!deadline) return -1;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return static_cast<int>(std::min<long long>(left, 1 << 30));
}

}  // namespace

PosixSerialBackend::~PosixSerialBackend() { Close(); }

int PosixSerialBackend::Open(const std::string& device_path) {
  if (fd_ >= 0) return EBUSY;
  const int fd = ::open(device_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  auto fail = [fd](int error) {
    ::close(fd);
    return error;
  };
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return fail(errno);
  const termios found = tio;
  // TIOCEXCL keeps other users out but not root; the lock also keeps out a second open
  // by root or by this process.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno);
  if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  // With VMIN 1 a non-blocking read of an empty queue says EAGAIN, so that end of file
  // can only mean a hung-up device.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);
  found_ = found;
  fd_ = fd;
  have_counters_ = ReadCounters(fd, counters_);
  return 0;
}

void PosixSerialBackend::Close() {
  const int fd = fd_.exchange(-1);
  if (fd < 0) return;
  // The next program (a terminal, a modem tool) finds the line as this one found it.
  ::tcsetattr(fd, TCSANOW, &found_);
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
  have_counters_ = false;
}

int PosixSerialBackend::ValidFd(int fd) {
  if (fd < 0 || ::fcntl(fd, F_GETFL) < 0) return EBADF;
  return 0;
}

int PosixSerialBackend::ApplyLine(const LineSettings& s) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  if (s.baud_rate <= 0 || s.baud_rate > 0xFFFFFFFFll) return EINVAL;
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return errno;
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  // With VMIN 1 a non-blocking read of an empty queue says EAGAIN, so that end of file
  // can only mean a hung-up device.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;

  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  switch (s.data_bits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
  }
  switch (s.parity) {
    case prOdd: tio.c_cflag |= PARENB | PARODD; break;
    case prEven: tio.c_cflag |= PARENB; break;
    case prMark: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case prSpace: tio.c_cflag |= PARENB | CMSPAR; break;
    case prNone: break;
  }
  if (s.stop_bits != sbOneStopBit) tio.c_cflag |= CSTOPB;
  if (s.out_cts_flow || s.rts == rtsHandshake) tio.c_cflag |= CRTSCTS;

  tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IGNPAR | PARMRK | IXON | IXOFF | IXANY);
  if (s.parity_check && s.parity != prNone) tio.c_iflag |= INPCK;
  if (s.xon_xoff_out) tio.c_iflag |= IXON;
  if (s.xon_xoff_in) tio.c_iflag |= IXOFF;
  tio.c_cc[VSTART] = static_cast<cc_t>(s.xon_char);
  tio.c_cc[VSTOP] = static_cast<cc_t>(s.xoff_char);

  const speed_t standard = StandardSpeed(s.baud_rate);
  const speed_t speed = standard != B0 ? standard : B38400;
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return errno;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return errno;
  if (standard == B0) {
    if (const int e = SetCustomBaudRate(fd, static_cast<std::uint32_t>(s.baud_rate))) return e;
  }

  const bool dtr_on = s.dtr != dtrDisable;
  if (const int e = ModemBits(fd, TIOCM_DTR, dtr_on); e && !Unsupported(e)) return e;
  if (s.rts != rtsHandshake) {
    const bool rts_on = s.rts == rtsEnable;
    if (const int e = ModemBits(fd, TIOCM_RTS, rts_on); e && !Unsupported(e)) return e;
  }
  discard_null_ = s.discard_null;
  return 0;
}

int PosixSerialBackend::ApplyTimeouts(const DeviceTimeouts& timeouts) {
  if (const int e = ValidFd(fd_)) return e;
  timeouts_ = timeouts;
  return 0;
}

int PosixSerialBackend::ApplyQueueSizes(int, int) { return ValidFd(fd_); }

// One non-blocking read; drops NULs when asked to.
int PosixSerialBackend::ReadOnce(int fd, char* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  const ssize_t n = ::read(fd, buffer, count);
  if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? EAGAIN : errno;
  if (n == 0) {
    // A hung-up tty reads as end of file.
    pollfd p{fd, 0, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return EIO;
    return EAGAIN;
  }
  got = static_cast<std::size_t>(n);
  if (discard_null_) {
    got = static_cast<std::size_t>(std::remove(buffer, buffer + got, '\0') - buffer);
  }
  return 0;
}

IoResult PosixSerialBackend::Read(char* buffer, std::size_t count) {
  const int fd = fd_;
  IoResult result;
  if ((result.error = ValidFd(fd)) != 0) return result;
  const DeviceTimeouts& t = timeouts_;
  const bool no_wait = t.read_interval == DeviceTimeouts::kNoInterval &&
                       t.read_total_multiplier == 0 && t.read_total_constant == 0;
  // Interval "none" with multiplier "max" and a constant: wait up to the constant for the
  // first byte, then return what is there.
  const bool first_byte_only = t.read_interval == DeviceTimeouts::kNoInterval &&
                               t.read_total_multiplier == DeviceTimeouts::kNoInterval &&
                               t.read_total_constant > 0 &&
                               t.read_total_constant < DeviceTimeouts::kNoInterval;
  Clock::time_point deadline;
  bool has_deadline = false;
  if (first_byte_only) {
    deadline = Clock::now() + std::chrono::milliseconds(t.read_total_constant);
    has_deadline = true;
  } else if (t.read_total_multiplier != 0 || t.read_total_constant != 0) {
    const long long total = static_cast<long long>(t.read_total_multiplier) *
                                static_cast<long long>(count) +
                            t.read_total_constant;
    deadline = Clock::now() + std::chrono::milliseconds(total);
    has_deadline = true;
  }
  const bool use_interval = t.read_interval != 0 && t.read_interval != DeviceTimeouts::kNoInterval;

  std::size_t done = 0;
  while (done < count) {
    std::size_t got = 0;
    const int e = ReadOnce(fd, buffer + done, count - done, got);
    if (e == 0) {
      done += got;
      if (first_byte_only && done > 0) break;
      continue;
    }
    if (e != EAGAIN) {
      if (done == 0) result.error = e;
      break;
    }
    if (no_wait) break;
    if (first_byte_only && done > 0) break;
    int wait_ms = MillisLeft(has_deadline ? &deadline : nullptr);
    if (has_deadline && wait_ms == 0) break;
    if (use_interval && done > 0) {
      const int interval = static_cast<int>(std::min<std::uint32_t>(t.read_interval, 1u << 30));
      wait_ms = wait_ms < 0 ? interval : std::min(wait_ms, interval);
    }
    pollfd p{fd, POLLIN, 0};
    const int n = ::poll(&p, 1, wait_ms);
    if (n < 0 && errno != EINTR) {
      if (done == 0) result.error = errno;
      break;
    }
    if (n == 0) {
      // The interval passed without a byte, or the total time is up.
      if (use_interval && done > 0) break;
      if (has_deadline && MillisLeft(&deadline) == 0) break;
    }
  }
  result.count = static_cast<int>(done);
  return result;
}

IoResult PosixSerialBackend::Write(const char* buffer, std::size_t count) {
  const int fd = fd_;
  IoResult result;
  if ((result.error = ValidFd(fd)) != 0) return result;
  const DeviceTimeouts& t = timeouts_;
  Clock::time_point deadline;
  const bool has_deadline = t.write_total_multiplier != 0 || t.write_total_constant != 0;
  if (has_deadline) {
    const long long total = static_cast<long long>(t.write_total_multiplier) *
                                static_cast<long long>(count) +
                            t.write_total_constant;
    deadline = Clock::now() + std::chrono::milliseconds(total);
  }
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd, buffer + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      if (done == 0) result.error = errno;
      break;
    }
    const int wait_ms = MillisLeft(has_deadline ? &deadline : nullptr);
    if (has_deadline && wait_ms == 0) break;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, wait_ms) < 0 && errno != EINTR) {
      if (done == 0) result.error = errno;
      break;
    }
  }
  result.count = static_cast<int>(done);
  return result;
}

int PosixSerialBackend::QueuedCount(unsigned long request, int& count) {
  const int fd = fd_;
  count = 0;
  if (const int e = ValidFd(fd)) return e;
  if (::ioctl(fd, request, &count) != 0) return errno;
  return 0;
}

int PosixSerialBackend::InputCount(int& count) { return QueuedCount(FIONREAD, count); }

int PosixSerialBackend::OutputCount(int& count) { return QueuedCount(TIOCOUTQ, count); }

bool PosixSerialBackend::ReadCounters(int fd, Counters& c) {
  serial_icounter_struct ic{};
  if (::ioctl(fd, TIOCGICOUNT, &ic) != 0) return false;
  c.frame = ic.frame;
  c.parity = ic.parity;
  c.overrun = ic.overrun;
  c.brk = ic.brk;
  c.buf_overrun = ic.buf_overrun;
  return true;
}

int PosixSerialBackend::TakeErrors(TComErrors& errors) {
  const int fd = fd_;
  errors = {};
  if (const int e = ValidFd(fd)) return e;
  // Linux keeps running totals; a flag is "set" when its total grew since the last look.
  Counters now;
  if (ReadCounters(fd, now)) {
    if (have_counters_) {
      if (now.frame != counters_.frame) errors.Include(ceFrame);
      if (now.parity != counters_.parity) errors.Include(ceRxParity);
      if (now.overrun != counters_.overrun) errors.Include(ceOverrun);
      if (now.brk != counters_.brk) errors.Include(ceBreak);
      if (now.buf_overrun != counters_.buf_overrun) errors.Include(ceRxOver);
    }
    counters_ = now;
    have_counters_ = true;
  }
  pollfd p{fd, 0, 0};
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) errors.Include(ceIO);
  return 0;
}

int PosixSerialBackend::ModemLines(TComSignals& signals) {
  const int fd = fd_;
  signals = {};
  if (const int e = ValidFd(fd)) return e;
  int bits = 0;
  if (::ioctl(fd, TIOCMGET, &bits) != 0) {
    const int e = errno;
    return Unsupported(e) ? 0 : e;
  }
  static constexpr std::array<std::pair<unsigned long, TComSignal>, 4> kLineBits = {
      {{TIOCM_CTS, csCTS}, {TIOCM_DSR, csDSR}, {TIOCM_RNG, csRing}, {TIOCM_CAR, csRLSD}}};
  signals = TComSignals::FromMask(static_cast<unsigned>(bits), kLineBits);
  return 0;
}

int PosixSerialBackend::HoldFlags(TComStateFlags& flags) {
  flags = {};
  return ValidFd(fd_);
}

int PosixSerialBackend::SetDTR(bool on) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  return ModemBits(fd, TIOCM_DTR, on);
}

int PosixSerialBackend::SetRTS(bool on) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  return ModemBits(fd, TIOCM_RTS, on);
}

int PosixSerialBackend::SetBreak(bool on) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  if (::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) != 0) return errno;
  return 0;
}

int PosixSerialBackend::SetXonXoff(bool xon) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  if (::tcflow(fd, xon ? TCOON : TCOOFF) != 0) return errno;
  return 0;
}

int PosixSerialBackend::Purge(bool input, bool output) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  if (!input && !output) return 0;
  const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
  if (::tcflush(fd, which) != 0) return errno;
  return 0;
}

// Reads and writes finish within their own call, so nothing is ever left pending.
int PosixSerialBackend::AbortPending() { return ValidFd(fd_); }

int PosixSerialBackend::TransmitChar(char ch) {
  const int fd = fd_;
  if (const int e = ValidFd(fd)) return e;
  const ssize_t n = ::write(fd, &ch, 1);
  if (n < 0) return errno;
  if (n == 0) return EAGAIN;
  return 0;
}

std::unique_ptr<EventWaiter> PosixSerialBackend::CreateEventWaiter(TComEvents selected,
                                                                   int& error) {
  const int fd = fd_;
  if ((error = ValidFd(fd)) != 0) return nullptr;
  return CreateEpollEventWaiter(fd, selected, error);
}

}  // namespace posix
}  // namespace theolink
