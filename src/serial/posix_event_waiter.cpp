#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "serial/posix_serial_backend.h"

namespace theolink::posix {

namespace {

// Edge-triggered on the device: a wake-up means new bytes, so bytes a handler leaves
// unread do not wake the thread again and again. The stop signal is level-triggered.
class EpollEventWaiter final : public EventWaiter {
 public:
  EpollEventWaiter(int epoll_fd, int stop_fd, int device_fd, TComEvents selected)
      : epoll_fd_(epoll_fd), stop_fd_(stop_fd), device_fd_(device_fd), selected_(selected) {}
  ~EpollEventWaiter() override {
    ::close(epoll_fd_);
    ::close(stop_fd_);
  }

  Result Wait() override {
    Result result;
    for (;;) {
      epoll_event ready[2];
      const int n = ::epoll_wait(epoll_fd_, ready, 2, -1);
      if (n < 0) {
        if (errno == EINTR) continue;
        result.failed = true;
        result.error = errno;
        return result;
      }
      for (int i = 0; i < n; ++i) {
        if (ready[i].data.fd == stop_fd_) {
          result.stopped = true;
        } else if (ready[i].data.fd == device_fd_) {
          const std::uint32_t flags = ready[i].events;
          if ((flags & EPOLLIN) && selected_.Contains(evRxChar)) result.events.Include(evRxChar);
          if (flags & (EPOLLHUP | EPOLLERR)) {
            result.hung_up = true;
            if (selected_.Contains(evError)) result.events.Include(evError);
          }
        }
      }
      if (result.stopped || result.hung_up || !result.events.Empty()) return result;
    }
  }

  void Stop() override {
    const std::uint64_t one = 1;
    // eventfd only fails when its counter would overflow, which a few stops never do.
    [[maybe_unused]] ssize_t n = ::write(stop_fd_, &one, sizeof one);
  }

 private:
  int epoll_fd_;
  int stop_fd_;
  int device_fd_;
  TComEvents selected_;
};

}  // namespace

std::unique_ptr<EventWaiter> CreateEpollEventWaiter(int device_fd, TComEvents selected,
                                                    int& error) {
  error = 0;
  const int epoll_fd = ::epoll_create1(EPOLL_CLOEXEC);
  if (epoll_fd < 0) {
    error = errno;
    return nullptr;
  }
  const int stop_fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stop_fd < 0) {
    error = errno;
    ::close(epoll_fd);
    return nullptr;
  }
  epoll_event stop{};
  stop.events = EPOLLIN;
  stop.data.fd = stop_fd;
  epoll_event device{};
  // Always EPOLLIN: a tty announces its hang-up through its input wake-up only.
  device.events = EPOLLET | EPOLLIN;
  device.data.fd = device_fd;
  if (::epoll_ctl(epoll_fd, EPOLL_CTL_ADD, stop_fd, &stop) != 0 ||
      ::epoll_ctl(epoll_fd, EPOLL_CTL_ADD, device_fd, &device) != 0) {
    error = errno;
    ::close(stop_fd);
    ::close(epoll_fd);
    return nullptr;
  }
  return std::make_unique<EpollEventWaiter>(epoll_fd, stop_fd, device_fd, selected);
}

}  // namespace theolink::posix
