#include "support/pty_instrument.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace theolink::test {

namespace {
using Clock = std::chrono::steady_clock;
}

PtyInstrument::PtyInstrument() {
  // Non-blocking, so a test may drain the master without hanging.
  ::fcntl(Master(), F_SETFL, ::fcntl(Master(), F_GETFL) | O_NONBLOCK);
}

void PtyInstrument::Send(const std::string& bytes) {
  std::size_t done = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (done < bytes.size() && Clock::now() < deadline) {
    const ssize_t n = ::write(Master(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else {
      pollfd p{Master(), POLLOUT, 0};
      ::poll(&p, 1, 50);
    }
  }
  if (done < bytes.size()) throw std::runtime_error("instrument could not send");
}

std::string PtyInstrument::Receive(std::size_t want, std::chrono::milliseconds timeout) {
  std::string got;
  const auto deadline = Clock::now() + timeout;
  while (got.size() < want && Clock::now() < deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const std::string part = device_.ReadSome(left, want - got.size());
    // Nothing, at once: the port's side is not open; look again shortly.
    if (part.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    got += part;
  }
  return got;
}

std::string PtyInstrument::ReceiveLine(std::chrono::milliseconds limit) {
  std::string got;
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const std::string part = device_.ReadSome(left, 1);
    if (part.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    got += part;
    if (got.size() >= 2 && got.compare(got.size() - 2, 2, "\r\n") == 0) break;
  }
  return got;
}

termios PtyInstrument::Settings() const {
  termios t{};
  ::tcgetattr(Master(), &t);
  return t;
}

}  // namespace theolink::test
