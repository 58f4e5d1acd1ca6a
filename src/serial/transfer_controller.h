#pragma once
// Receiving from and sending to the instrument as one state machine. It runs on the UI
// thread; port bytes, timer expiry and Stop are its inputs, and everything it does to the
// outside goes through TransferHost, so it can be driven without a port or a clock.
#include <cstdint>
#include <string>

#include "files/working_data.h"
#include "records/line_list.h"
#include "serial/transfer_host.h"

namespace theolink {

inline constexpr std::uint8_t TransferIdle = 0;
inline constexpr std::uint8_t TransferReceiving = 1;
inline constexpr std::uint8_t TransferSending = 2;

inline constexpr int FirstLineTimeoutMs = 20000;  // time to start the export or import
inline constexpr int SilenceTimeoutMs = 2000;     // quiet line that ends a transfer

enum class StartResult { Started, NothingToSend, PortFailed };

// What the end of the last transfer did with the received lines.
enum class ReceiveOutcome {
  NothingLoaded,  // no line came, or the transfer was a send
  Codes,          // DataKind 3
  Coordinates,    // DataKind 2
  Measurement,    // DataKind 1
  NoValidData,    // keyword text that gave no record or no point; "The file has no valid data!"
  Unrecognised,   // no loader took the lines; working data unchanged
};

class TransferController {
 public:
  TransferController(TransferHost& host, WorkingData& data) : host_(host), data_(data) {}

  // Starts a receive (the window asks before clearing data, then calls this).
  StartResult ReceiveBtnClick();
  // Starts a send of sendLines (upload lines for points, or the code texts). Refuses when
  // the working data holds neither points nor codes.
  StartResult SendBtnClick(const LineList& sendLines);
  // count bytes are waiting in the port. A port error while reading or writing is raised
  // again; the timer then still ends the transfer.
  void ComPort1RxChar(int count);
  // The end-of-transfer timer fired.
  void Timer1Timer();
  // Stop by the user; also the first step of Timer1Timer. Nothing received is loaded.
  void StopBtnClick();

  std::uint8_t TransferState() const { return transferState_; }
  std::int32_t TransferCount() const { return transferCount_; }
  const std::string& RxBuffer() const { return rxBuffer_; }
  bool LinesReceived() const { return linesReceived_; }
  // The received lines, or the lines of the current send.
  const LineList& Memo1() const { return memo1_; }
  ReceiveOutcome LastOutcome() const { return lastOutcome_; }

 private:
  void CutReceivedLines();
  void AnswerLineRequest();
  void SendLine(std::size_t index);
  void LoadReceivedLines();

  TransferHost& host_;
  WorkingData& data_;
  std::uint8_t transferState_ = TransferIdle;
  std::int32_t transferCount_ = 0;
  std::string rxBuffer_;
  bool linesReceived_ = false;
  LineList memo1_;
  ReceiveOutcome lastOutcome_ = ReceiveOutcome::NothingLoaded;
};

}  // namespace theolink
