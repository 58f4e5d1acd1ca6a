// Pushes 10 MB through a pseudo-terminal pair into the port (OnRxChar, handed to this
// thread by smThreadSync through a QueueDispatcher), then lets the port sit idle for ten
// seconds. Prints the throughput, the bytes lost or damaged (must be 0) and the processor
// time the event thread used while idle (must be near 0).
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "serial/com_port.h"
#include "serial/com_thread.h"
#include "serial/ui_dispatcher.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kTotal = 10u * 1024u * 1024u;
constexpr std::size_t kBurst = 3000;  // about what an instrument sends between pauses

unsigned char PatternByte(std::size_t i) { return static_cast<unsigned char>((i * 131u) ^ (i >> 9)); }

double Millis(std::chrono::nanoseconds d) { return static_cast<double>(d.count()) / 1e6; }

}  // namespace

int main() {
  using namespace theolink;
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  ::close(slave);

  QueueDispatcher dispatcher;
  TComPort port;
  port.SetPort(name);
  port.SetBaudRate(br115200);
  port.SetDispatcher(&dispatcher);
  std::size_t received = 0;
  std::size_t damaged = 0;
  std::size_t events = 0;
  std::string chunk;
  port.OnRxChar = [&](TCustomComPort& p, int count) {
    ++events;
    p.ReadStr(chunk, count);
    for (char c : chunk) {
      if (static_cast<unsigned char>(c) != PatternByte(received)) ++damaged;
      ++received;
    }
  };
  try {
    port.Open();
  } catch (const EComPort& e) {
    std::fprintf(stderr, "open failed: %s\n", e.what());
    return 1;
  }

  std::atomic<bool> writer_failed{false};
  const auto start = Clock::now();
  std::thread writer([&] {
    std::string burst;
    for (std::size_t sent = 0; sent < kTotal;) {
      burst.clear();
      for (std::size_t i = 0; i < kBurst && sent + i < kTotal; ++i) {
        burst.push_back(static_cast<char>(PatternByte(sent + i)));
      }
      std::size_t done = 0;
      while (done < burst.size()) {
        const ssize_t n = ::write(master, burst.data() + done, burst.size() - done);
        if (n < 0) {
          writer_failed = true;
          return;
        }
        done += static_cast<std::size_t>(n);
      }
      sent += burst.size();
    }
  });
  const auto give_up = Clock::now() + 120s;
  while (received < kTotal && Clock::now() < give_up) dispatcher.WaitAndProcess(50ms);
  const auto elapsed = Clock::now() - start;
  writer.join();
  const auto transfer_cpu = port.EventThread()->CpuTime();

  const auto idle_before = port.EventThread()->CpuTime();
  const auto idle_end = Clock::now() + 10s;
  while (Clock::now() < idle_end) dispatcher.WaitAndProcess(100ms);
  const auto idle_cpu = port.EventThread()->CpuTime() - idle_before;
  port.Close();
  ::close(master);

  const double seconds = std::chrono::duration<double>(elapsed).count();
  const std::size_t lost = received < kTotal ? kTotal - received : 0;
  std::printf("serial throughput over a pseudo-terminal (smThreadSync, QueueDispatcher)\n");
  std::printf("  bytes sent            %zu in bursts of %zu\n", kTotal, kBurst);
  std::printf("  bytes received        %zu in %zu events (%.0f bytes/event)\n", received, events,
              events ? static_cast<double>(received) / static_cast<double>(events) : 0.0);
  std::printf("  time                  %.3f s\n", seconds);
  std::printf("  throughput            %.1f MB/s\n", static_cast<double>(received) / seconds / 1e6);
  std::printf("  bytes lost            %zu\n", lost);
  std::printf("  bytes damaged         %zu\n", damaged);
  std::printf("  event thread CPU      %.1f ms during the transfer\n", Millis(transfer_cpu));
  std::printf("  event thread CPU idle %.3f ms over 10 s\n", Millis(idle_cpu));
  if (writer_failed) std::printf("  the writer failed\n");
  return lost == 0 && damaged == 0 && !writer_failed ? 0 : 1;
}
