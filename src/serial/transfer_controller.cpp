#include "serial/transfer_controller.h"

#include <initializer_list>
#include <string_view>

#include "files/line_loaders.h"
#include "records/text_trim.h"

namespace theolink {

namespace {

// A blank line carries no keyword and the loader skips it, so a coordinate export that
// ends in a blank line still counts as coordinates.
bool IsCoordKeywordOrBlank(std::string_view line) {
  const std::string_view keyword = Trim(line.substr(0, 8));
  return keyword == "SC" || keyword == "NEZ" || keyword == "ENZ" || Trim(line).empty();
}

}  // namespace

bool TransferController::OpenTransferPort() {
  try {
    host_.OpenPort();
  } catch (...) {
    host_.ShowStatus(TextId::PortSettingsError);
    return false;
  }
  rxBuffer_.clear();
  // What the last transfer ended with belongs to it alone.
  linesReceived_ = false;
  lastOutcome_ = ReceiveOutcome::NothingLoaded;
  receivedBytes_ = 0;
  sent_ = {};
  linkDropped_ = false;
  limitReached_ = false;
  sendCut_.reset();
  return true;
}

void TransferController::LockControlsForTransfer(TransferControl otherDirection) {
  for (const TransferControl control : {TransferControl::OpenBtn, TransferControl::SaveBtn, otherDirection,
                                        TransferControl::ComportSettingGroup, TransferControl::FileControlGroup})
    host_.EnableControl(control, false);
  host_.EnableControl(TransferControl::StopBtn, true);
}

StartResult TransferController::StartReceive() {
  if (!OpenTransferPort()) return StartResult::PortFailed;
  LockControlsForTransfer(TransferControl::SendBtn);
  transferCount_ = 1;
  host_.StartTimer(FirstLineTimeoutMs);
  memo1_.clear();
  transferState_ = TransferReceiving;
  lastWasReceive_ = true;
  if (rawCopy_) rawCopy_->Begin();
  host_.ShowStatus(TextId::Receiving);
  host_.ShowCounter(TextId::RxPrefix, 0);
  return StartResult::Started;
}

StartResult TransferController::StartSend(const LineList& sendLines) {
  if (data_.PointList.empty() && data_.CodeList.empty()) {
    host_.ShowMessage(TextId::EmptyUpload);
    return StartResult::NothingToSend;
  }
  if (!OpenTransferPort()) return StartResult::PortFailed;
  transferCount_ = 0;
  host_.StartTimer(FirstLineTimeoutMs);
  memo1_ = sendLines;
  // The end of a send must never load the send buffer as received lines: OpenTransferPort
  // cleared LinesReceived.
  transferState_ = TransferSending;
  lastWasReceive_ = false;
  LockControlsForTransfer(TransferControl::ReceiveBtn);
  host_.ShowStatus(TextId::SendStarted);
  host_.ShowCounter(TextId::TxPrefix, 0);
  return StartResult::Started;
}

void TransferController::OnBytesArrived(int count) {
  const std::string bytes = host_.ReadPort(count);
  if (transferState_ == TransferReceiving) {
    // Kept before anything interprets them.
    receivedBytes_ += bytes.size();
    if (rawCopy_) rawCopy_->Append(bytes);
    if (receivedBytes_ > receiveLimit_) {
      limitReached_ = true;
      Stop();
      return;
    }
  }
  rxBuffer_ += bytes;
  switch (transferState_) {
    case TransferIdle:
      rxBuffer_.clear();
      break;
    case TransferReceiving:
      CutReceivedLines();
      break;
    case TransferSending:
      AnswerLineRequest();
      break;
    default:
      break;
  }
}

void TransferController::CutReceivedLines() {
  // Cut from an offset and erase once: a large burst must not move the buffer per line.
  std::size_t start = 0;
  for (;;) {
    const std::size_t crlf = rxBuffer_.find("\r\n", start);
    if (crlf == std::string::npos) break;
    // A CR LF right at the start is an empty line; it is kept so the lines after it flow.
    host_.StopTimer();
    memo1_.emplace_back(Trim(std::string_view(rxBuffer_).substr(start, crlf - start)));
    start = crlf + 2;
    linesReceived_ = true;
    ++transferCount_;
    host_.ShowCounter(TextId::RxPrefix, transferCount_ / 2);
    host_.StartTimer(SilenceTimeoutMs);
  }
  rxBuffer_.erase(0, start);
}

void TransferController::AnswerLineRequest() {
  // After a line went out in part nothing more is sent: the next line would glue onto it.
  if (rxBuffer_.find('\r') != std::string::npos && !sendCut_) {
    host_.StopTimer();
    if (transferCount_ >= 0 && static_cast<std::size_t>(transferCount_) < memo1_.size()) {
      const std::size_t i = static_cast<std::size_t>(transferCount_);
      ++transferCount_;
      SendLine(i);
      if (sendCut_) return;
      host_.ShowCounter(TextId::TxPrefix, transferCount_);
    } else {
      host_.ShowStatus(TextId::SentSuccessfully);
      transferState_ = TransferIdle;
    }
    host_.StartTimer(SilenceTimeoutMs);
  }
  rxBuffer_.clear();
}

void TransferController::SendLine(std::size_t index) {
  std::string line(Trim(memo1_[index]));
  line += "\r\n";
  int written = 0;
  try {
    written = host_.WritePort(line);
  } catch (const std::exception& e) {
    CutShort(index, e.what());
    // A write that raises must still leave the transfer to end by its timer.
    rxBuffer_.clear();
    host_.StartTimer(SilenceTimeoutMs);
    throw;
  } catch (...) {
    CutShort(index, "unknown error");
    rxBuffer_.clear();
    host_.StartTimer(SilenceTimeoutMs);
    throw;
  }
  if (written > 0) sent_.Bytes += static_cast<std::size_t>(written);
  if (written >= static_cast<int>(line.size())) ++sent_.Lines;
  // The port waited the line's whole time limit before giving up on the rest of it. No
  // line follows; the port stays open until the timer, as closing drops what it still
  // holds of the lines before.
  if (written < static_cast<int>(line.size())) {
    CutShort(index, std::string());
    rxBuffer_.clear();
    host_.StartTimer(SilenceTimeoutMs);
  }
}

TransferTally TransferController::Tally() const {
  if (lastWasReceive_) return {receivedBytes_, memo1_.size()};
  return sent_;
}

void TransferController::CutShort(std::size_t index, std::string error) {
  SendCut cut;
  cut.Line = index + 1;
  cut.Total = memo1_.size();
  const std::string_view line = Trim(memo1_[index]);
  // A coordinate line starts with the point's name; a code line is the code.
  cut.Name = std::string(data_.DataKind == DataKind::Coord ? line.substr(0, line.find(' ')) : line);
  cut.WholeLines = index;
  cut.Error = std::move(error);
  sendCut_ = std::move(cut);
  cutShown_ = false;
}

void TransferController::ShowCutOnce() {
  if (!sendCut_ || cutShown_) return;
  cutShown_ = true;
  host_.ShowSendCut(*sendCut_);
}

void TransferController::OnLinkDropped() {
  const bool timerArmedAfterSend = transferState_ == TransferIdle && host_.PortConnected();
  if (transferState_ == TransferIdle && !timerArmedAfterSend) return;
  linkDropped_ = transferState_ != TransferIdle;
  if (transferState_ == TransferSending) {
    Stop();
  } else {
    // A receive, or a send whose last request was answered: the normal end, only sooner.
    OnTransferTimer();
  }
}

void TransferController::OnTransferTimer() {
  EndTransfer();
  host_.ShowStatus(TextId::OperationComplete);
  host_.StopTimer();
  host_.EnableControl(TransferControl::ReceiveBtn, true);
  host_.EnableControl(TransferControl::SendBtn, true);
  // Shown last, so the status bar keeps it.
  ShowCutOnce();
  if (!linesReceived_) return;
  LoadReceivedLines();
  host_.RefreshViews();
  linesReceived_ = false;
}

void TransferController::LoadReceivedLines() {
  // Received lines are tried as codes first; an opened file is tried the other way round.
  if (LoadCodeLines(data_, memo1_) || LoadCodeTableLines(data_, memo1_)) {
    data_.DataKind = DataKind::Code;
    lastOutcome_ = ReceiveOutcome::Codes;
    return;
  }
  if (!IsKeywordText(memo1_)) {
    lastOutcome_ = ReceiveOutcome::Unrecognised;
    return;
  }
  bool allCoordLines = true;
  for (const std::string& line : memo1_) {
    if (!IsCoordKeywordOrBlank(line)) {
      allCoordLines = false;
      break;
    }
  }
  if (allCoordLines) {
    // Extracting from a job that failed to load would turn whatever job was there before
    // into points; a failed load leaves the working data alone instead.
    if (!TryLoadMeasureLines(data_, memo1_)) {
      lastOutcome_ = ReceiveOutcome::NoValidData;
      host_.ShowMessage(TextId::NoValidData);
      return;
    }
    ClearCoordData(data_);
    ExtractCoordPoints(data_);
    ClearMeasureData(data_);
    data_.DataKind = DataKind::Coord;
    lastOutcome_ = data_.PointList.empty() ? ReceiveOutcome::NoValidData : ReceiveOutcome::Coordinates;
    if (data_.PointList.empty()) host_.ShowMessage(TextId::NoValidData);
    return;
  }
  TryLoadMeasureLines(data_, memo1_);
  data_.DataKind = DataKind::Measure;
  if (data_.MeasurementList.empty()) {
    lastOutcome_ = ReceiveOutcome::NoValidData;
    host_.ShowMessage(TextId::NoValidData);
  } else {
    lastOutcome_ = ReceiveOutcome::Measurement;
  }
}

void TransferController::Stop() {
  EndTransfer();
  ShowCutOnce();
}

void TransferController::EndTransfer() {
  transferState_ = TransferIdle;
  if (rawCopy_) rawCopy_->End();
  host_.StopTimer();
  for (const TransferControl control : {TransferControl::ComportSettingGroup, TransferControl::TransControlGroup,
                                        TransferControl::FileControlGroup, TransferControl::OpenBtn,
                                        TransferControl::SaveBtn})
    host_.EnableControl(control, true);
  host_.EnableControl(TransferControl::StopBtn, false);
  const DataKind kind = data_.DataKind;
  host_.EnableControl(TransferControl::SendBtn, kind != DataKind::Measure);
  host_.EnableControl(TransferControl::ReceiveBtn, kind == DataKind::Measure || kind == DataKind::Coord);
  rxBuffer_.clear();
  host_.ShowStatus(TextId::Stopped);
  if (host_.PortConnected()) host_.ClosePort();
}

}  // namespace theolink
