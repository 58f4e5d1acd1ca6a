#pragma once
// Test helpers: a pseudo-terminal whose master side plays the instrument, a watchdog that
// turns a hang into a failure, and pumping a QueueDispatcher until a condition holds.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "serial/ui_dispatcher.h"

namespace theolink::test {

using namespace std::chrono_literals;

class PtyInstrument {
 public:
  PtyInstrument() {
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    // The port under test opens the slave itself.
    ::close(slave);
    path_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyInstrument() { CloseMaster(); }
  PtyInstrument(const PtyInstrument&) = delete;
  PtyInstrument& operator=(const PtyInstrument&) = delete;

  const std::string& Path() const { return path_; }
  int Master() const { return master_; }

  void Send(const std::string& bytes) {
    std::size_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (done < bytes.size() && std::chrono::steady_clock::now() < deadline) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else {
        pollfd p{master_, POLLOUT, 0};
        ::poll(&p, 1, 50);
      }
    }
    if (done < bytes.size()) throw std::runtime_error("instrument could not send");
  }

  // What the port wrote, until want bytes came or timeout passed.
  std::string Receive(std::size_t want, std::chrono::milliseconds timeout = 2000ms) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buf[4096];
    while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) {
        got.append(buf, static_cast<std::size_t>(n));
      } else {
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 20);
      }
    }
    return got;
  }

  // The line settings of the slave side, as the port applied them.
  termios Settings() const {
    termios t{};
    ::tcgetattr(master_, &t);
    return t;
  }

  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
};

// Aborts the test program when the guarded scope takes longer than limit, so a hang
// shows up as a failure with a message instead of a stuck run.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::milliseconds limit, const char* what = "test")
      : thread_([this, limit, what] {
          std::unique_lock lock(mutex_);
          if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "HANG: %s did not finish in time\n", what);
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

// Pumps the dispatcher until pred holds or timeout passes; returns pred().
inline bool PumpUntil(QueueDispatcher& dispatcher, const std::function<bool()>& pred,
                      std::chrono::milliseconds timeout = 3000ms) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    dispatcher.WaitAndProcess(10ms);
  }
  return true;
}

// Polls pred (no dispatcher involved) until it holds or timeout passes; returns pred().
inline bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = 3000ms) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

// Pumps for a while regardless; returns how many hand-offs ran.
inline int PumpFor(QueueDispatcher& dispatcher, std::chrono::milliseconds span) {
  int ran = 0;
  const auto deadline = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < deadline) ran += dispatcher.WaitAndProcess(10ms);
  return ran;
}

// Processor time of the whole test program so far.
inline std::chrono::microseconds ProcessCpuTime() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

}  // namespace theolink::test
