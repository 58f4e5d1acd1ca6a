#pragma once
// Receiving from and sending to the instrument as one state machine. It runs on the UI
// thread; port bytes, timer expiry and Stop are its inputs, and everything it does to the
// outside goes through TransferHost, so it can be driven without a port or a clock.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "files/working_data.h"
#include "records/line_list.h"
#include "serial/raw_receive_copy.h"
#include "serial/transfer_host.h"

namespace theolink {

inline constexpr std::uint8_t TransferIdle = 0;
inline constexpr std::uint8_t TransferReceiving = 1;
inline constexpr std::uint8_t TransferSending = 2;

inline constexpr int FirstLineTimeoutMs = 20000;  // time to start the export or import
inline constexpr int SilenceTimeoutMs = 2000;     // quiet line that ends a transfer
// A peer that never stops sending is stopped here rather than filling the memory.
inline constexpr std::size_t DefaultReceiveLimit = std::size_t{256} << 20;

enum class StartResult { Started, NothingToSend, PortFailed };

// What a transfer has moved so far: bytes and lines received, or bytes written and lines
// that went out whole.
struct TransferTally {
  std::size_t Bytes = 0;
  std::size_t Lines = 0;
};

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

  // --- what the window and the command line call ---
  // Starts a receive (the window asks before clearing data, then calls this).
  StartResult StartReceive();
  // Starts a send of sendLines (upload lines for points, or the code texts). Refuses when
  // the working data holds neither points nor codes.
  StartResult StartSend(const LineList& sendLines);
  // count bytes are waiting in the port. A port error while reading or writing is raised
  // again; the timer then still ends the transfer.
  void OnBytesArrived(int count);
  // The end-of-transfer timer fired: ends the transfer and loads what was received.
  void OnTransferTimer();
  // Stop by the user; also the first step of OnTransferTimer. Nothing received is loaded.
  void Stop();
  // The device hung up: a receive ends as after its silence (the lines cut so far load),
  // a send ends at once; LinkDropped() then tells. Nothing happens while idle.
  void OnLinkDropped();
  // The received lines, or the lines of the current send.
  const LineList& Lines() const { return memo1_; }

  // --- the behaviour's names, for the window's handlers ---
  StartResult ReceiveBtnClick() { return StartReceive(); }
  StartResult SendBtnClick(const LineList& sendLines) { return StartSend(sendLines); }
  void ComPort1RxChar(int count) { OnBytesArrived(count); }
  void Timer1Timer() { OnTransferTimer(); }
  void StopBtnClick() { Stop(); }
  const LineList& Memo1() const { return Lines(); }

  // A receive that gets more than bytes stops (nothing loads; the raw copy keeps them).
  void SetReceiveLimit(std::size_t bytes) { receiveLimit_ = bytes; }
  std::size_t ReceiveLimit() const { return receiveLimit_; }
  // The current or last receive was stopped by that limit.
  bool ReceiveLimitReached() const { return limitReached_; }

  // Every receive copies its bytes here as they arrive (none when null).
  void SetRawCopy(RawReceiveCopy* copy) { rawCopy_ = copy; }
  // The raw copy of the current or last receive; empty when none was made.
  // The raw copy of the last receive; empty when the last transfer was a send, which
  // keeps none.
  std::string RawCopyPath() const { return rawCopy_ && lastWasReceive_ ? rawCopy_->Path() : std::string(); }
  // The transfer started last was a receive.
  bool LastWasReceive() const { return lastWasReceive_; }

  std::uint8_t TransferState() const { return transferState_; }
  std::int32_t TransferCount() const { return transferCount_; }
  const std::string& RxBuffer() const { return rxBuffer_; }
  bool LinesReceived() const { return linesReceived_; }
  ReceiveOutcome LastOutcome() const { return lastOutcome_; }
  // Bytes the current or last receive got, whether or not they made lines.
  std::size_t ReceivedByteCount() const { return receivedBytes_; }
  // The current or last transfer's bytes and lines, in its direction.
  TransferTally Tally() const;
  // The current or last transfer ended because the device hung up.
  bool LinkDropped() const { return linkDropped_; }
  // The line the current or last send cut short; a send with one never succeeds.
  const std::optional<SendCut>& LastSendCut() const { return sendCut_; }

 private:
  // Opens the port for a new transfer and forgets how the last one ended; false, with the
  // status shown, when the port cannot be opened.
  bool OpenTransferPort();
  // While a transfer runs only Stop works: the file, the port settings and the other
  // transfer direction are locked.
  void LockControlsForTransfer(TransferControl otherDirection);
  void CutReceivedLines();
  void AnswerLineRequest();
  void SendLine(std::size_t index);
  void CutShort(std::size_t index, std::string error);
  void EndTransfer();
  void ShowCutOnce();
  void LoadReceivedLines();

  TransferHost& host_;
  WorkingData& data_;
  RawReceiveCopy* rawCopy_ = nullptr;
  std::uint8_t transferState_ = TransferIdle;
  bool lastWasReceive_ = false;
  std::int32_t transferCount_ = 0;
  std::string rxBuffer_;
  bool linesReceived_ = false;
  LineList memo1_;
  ReceiveOutcome lastOutcome_ = ReceiveOutcome::NothingLoaded;
  std::size_t receivedBytes_ = 0;
  TransferTally sent_;
  bool linkDropped_ = false;
  std::optional<SendCut> sendCut_;
  std::size_t receiveLimit_ = DefaultReceiveLimit;
  bool limitReached_ = false;
  bool cutShown_ = false;
};

}  // namespace theolink
