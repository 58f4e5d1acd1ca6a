// Receives a 1 MB measurement job through a pseudo-terminal, written as fast as the kernel
// takes it, on the same path as theolink-cli receive. Prints throughput and lines lost.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "serial/transfer_loop.h"
#include "serial/transfer_port_host.h"

namespace {

using Clock = std::chrono::steady_clock;
using theolink::TextId;

// A job of STA, SD and SC records, about bytes long.
std::string MakeJob(std::size_t bytes, std::size_t& lines) {
  std::string job = "JOB     BENCH\r\nINST    TS\r\nSTA     S1,1.5000,\r\nXYZ     1000.0000,2000.0000,100.0000\r\n";
  lines = 4;
  for (int i = 1; job.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    if (i % 2) {
      job += "SD      P" + n + ",1.5000,WALL\r\nHVD     " + std::to_string(i % 1296000) + ",324000,25.1230\r\n";
    } else {
      job += "SC      P" + n + ",1.5000,TREE\r\nHVD     " + std::to_string(i % 1296000) +
             ",320000,12.5000\r\nENZ     1012.3456,2001.2345,101.2345\r\n";
      ++lines;
    }
    lines += 2;
  }
  return job;
}

class TimingDisplay final : public theolink::TransferView {
 public:
  void ShowStatus(TextId) override {}
  void ShowCounter(TextId, int) override { last = Clock::now(); }
  void ShowMessage(TextId) override { ++messages; }
  void ShowSendCut(const theolink::SendCut&) override {}
  void EnableControl(theolink::TransferControl, bool) override {}
  void RefreshViews() override {}
  Clock::time_point last{};
  int messages = 0;
};

}  // namespace

int main() {
  std::size_t expected = 0;
  const std::string job = MakeJob(1 << 20, expected);

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[128];
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
    std::cerr << "bench_receive: no pseudo-terminal\n";
    return 1;
  }

  theolink::QueueDispatcher dispatcher;
  theolink::TComPort port;
  TimingDisplay display;
  theolink::DeadlineTimer timer;
  theolink::PortTransferHost host(port, timer, display);
  theolink::QueueTransferLoop loop(dispatcher, timer);
  theolink::WorkingData data;
  theolink::TransferController controller(host, data);
  theolink::SetUpTransferPort(port, name, theolink::br115200, 115200, dispatcher);
  host.Bind(controller);
  if (controller.StartReceive() != theolink::StartResult::Started) {
    std::cerr << "bench_receive: " << host.OpenErrorText() << '\n';
    return 1;
  }

  const auto start = Clock::now();
  std::thread writer([&] {
    std::size_t done = 0;
    while (done < job.size()) {
      const ssize_t w = ::write(master, job.data() + done, job.size() - done);
      if (w > 0) done += static_cast<std::size_t>(w);
      else if (w < 0 && errno != EINTR && errno != EAGAIN) break;
    }
  });
  const bool stopped = loop.RunUntilFinished(controller);
  writer.join();
  const auto loadEnd = Clock::now();
  ::close(master);

  const double seconds = std::chrono::duration<double>(display.last - start).count();
  const std::size_t received = controller.Lines().size();
  std::cout << "bench_receive: " << job.size() << " bytes, " << expected << " lines through " << name << '\n'
            << "  receive time (first byte to last line cut): " << seconds * 1000 << " ms\n"
            << "  throughput: " << (job.size() / 1048576.0) / seconds << " MB/s, " << received / seconds
            << " lines/s\n"
            << "  lines received: " << received << ", lines lost: " << static_cast<long>(expected - received) << '\n'
            << "  records loaded: " << data.MeasurementList.size() << " (end of transfer incl. 2 s silence: "
            << std::chrono::duration<double>(loadEnd - start).count() << " s)\n";
  return !stopped && !controller.LinkDropped() && received == expected ? 0 : 1;
}
