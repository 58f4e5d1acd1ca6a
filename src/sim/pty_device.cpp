#include "sim/pty_device.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace theolink::sim {

namespace {

using Clock = std::chrono::steady_clock;

std::runtime_error SystemError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

PtyDevice::PtyDevice() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) throw SystemError("posix_openpt");
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    ::close(master_);
    throw SystemError("grantpt/unlockpt");
  }
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    ::close(master_);
    throw SystemError("ptsname_r");
  }
  path_ = name;
  // Opening the slave once both sets raw mode (the settings stay with the terminal) and
  // arms the master's hang-up report that PeerOpen relies on.
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) {
    ::close(master_);
    throw SystemError("open slave");
  }
  termios tio{};
  if (::tcgetattr(slave, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
  }
  ::close(slave);
}

PtyDevice::~PtyDevice() { Close(); }

void PtyDevice::Close() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

bool PtyDevice::PeerOpen() const {
  pollfd p{master_, 0, 0};
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & POLLHUP) == 0;
}

bool PtyDevice::WaitForOpen(std::chrono::milliseconds limit) const {
  const auto deadline = Clock::now() + limit;
  // The hang-up is level-triggered, so poll cannot sleep on its going away: look often.
  while (!PeerOpen()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool PtyDevice::WaitForClose(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  char sink[4096];
  for (;;) {
    pollfd p{master_, POLLIN, 0};
    const int n = ::poll(&p, 1, std::min(RemainingMs(deadline), 20));
    if (n > 0 && (p.revents & POLLHUP)) return true;
    if (n > 0 && (p.revents & POLLIN)) {
      if (::read(master_, sink, sizeof sink) < 0 && errno != EINTR && errno != EAGAIN) return true;
    }
    if (Clock::now() >= deadline) return false;
  }
}

bool PtyDevice::WriteAll(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    pollfd p{master_, POLLOUT, 0};
    const int n = ::poll(&p, 1, 200);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n > 0 && (p.revents & POLLHUP)) return false;
    if (n == 0 || !(p.revents & POLLOUT)) continue;
    const ssize_t w = ::write(master_, text.data() + done, text.size() - done);
    if (w < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    done += static_cast<std::size_t>(w);
  }
  return true;
}

std::string PtyDevice::ReadSome(std::chrono::milliseconds limit, std::size_t max) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    pollfd p{master_, POLLIN, 0};
    const int n = ::poll(&p, 1, RemainingMs(deadline));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {};
    if (p.revents & POLLIN) {
      std::string buf(max, '\0');
      const ssize_t r = ::read(master_, buf.data(), max);
      if (r > 0) {
        buf.resize(static_cast<std::size_t>(r));
        return buf;
      }
      if (r < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      return {};
    }
    // A hang-up without data: the program has closed the device.
    if (p.revents & (POLLHUP | POLLERR)) return {};
    if (Clock::now() >= deadline) return {};
  }
}

}  // namespace theolink::sim
