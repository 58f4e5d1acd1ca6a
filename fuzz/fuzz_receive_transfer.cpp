// Arbitrary bytes cut into arbitrary arrival events during a receive, then the end of the
// transfer loads them. Nothing may crash, and however the bytes were cut into events the
// lines must be those of the whole stream cut at once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/working_data.h"
#include "fuzz_seeds.h"
#include "records/text_trim.h"
#include "serial/transfer_controller.h"

namespace {

using theolink::TextId;
using theolink::TransferControl;

// A port with an input queue; the timer and the view do nothing.
class FuzzHost final : public theolink::TransferHost {
 public:
  std::string input;
  bool connected = false;

  void OpenPort() override { connected = true; }
  void ClosePort() override { connected = false; }
  bool PortConnected() const override { return connected; }
  std::string ReadPort(int count) override {
    const std::size_t n = std::min(input.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::string out = input.substr(0, n);
    input.erase(0, n);
    return out;
  }
  int WritePort(const std::string& text) override { return static_cast<int>(text.size()); }
  void StartTimer(int) override {}
  void StopTimer() override {}
  void ShowStatus(TextId) override {}
  void ShowCounter(TextId, int) override {}
  void EnableControl(TransferControl, bool) override {}
  void ShowMessage(TextId) override {}
  void ShowSendCut(const theolink::SendCut&) override {}
  void RefreshViews() override {}
};

theolink::LineList CutAtOnce(std::string_view stream) {
  theolink::LineList lines;
  for (std::size_t at = 0;;) {
    const std::size_t crlf = stream.find("\r\n", at);
    if (crlf == std::string_view::npos) return lines;
    lines.emplace_back(theolink::Trim(stream.substr(at, crlf - at)));
    at = crlf + 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzHost host;
  theolink::WorkingData work;
  theolink::TransferController controller(host, work);
  if (controller.StartReceive() != theolink::StartResult::Started) std::abort();
  // Each event: one byte giving its length (1 to 64), then that many bytes of the stream.
  std::string stream;
  for (std::size_t i = 0; i < size;) {
    const std::size_t length = std::min<std::size_t>(data[i] % 64 + 1, size - i - 1);
    ++i;
    const std::string bytes(reinterpret_cast<const char*>(data + i), length);
    i += length;
    stream += bytes;
    host.input += bytes;
    controller.OnBytesArrived(static_cast<int>(host.input.size()));
  }
  if (controller.Lines() != CutAtOnce(stream)) std::abort();
  if (controller.ReceivedByteCount() != stream.size()) std::abort();
  controller.OnTransferTimer();
  if (controller.TransferState() != theolink::TransferIdle || host.connected) std::abort();
  return 0;
}

std::vector<std::string> FuzzSeeds() {
  return {
      std::string("\x05") + "JOB  " + "\x3f" + "  A1\r\nINST    X\r\nSTA     S1,1.5,C\r\nXYZ     1,2,3\r\n" +
          "BS      B,1\r\nHVD     0,324000,10\r\n" + "\x01" + "\r\n",
      std::string("\x02") + "T1\r" + std::string(1, '\0') + "\n" + "\x03" + "\r\nWA" + "\x04" + "LL\r\n",
      std::string("\x20") + "SC      P1,0.0000,\r\nNEZ     1,2,3\r\nSC      P2,0,\r\nN",
      std::string("\x07") + "P1:a:b:\r" + std::string(1, '\0') + "\n",
  };
}
