// The send half of the transfer state machine: the instrument paces the upload with CRs.
#include <gtest/gtest.h>

#include <algorithm>

#include "serial/transfer_fake_host.h"
#include "serial/transfer_send_lines.h"

namespace theolink {
namespace {

using test::TransferRig;
using C = TransferControl;

PointRecord MakePoint(std::string_view name, std::string_view code, double n, double e, double z) {
  PointRecord p;
  p.Name.Assign(name);
  p.Code.Assign(code);
  p.North = n;
  p.East = e;
  p.Elevation = z;
  return p;
}

CodeEntry MakeCode(std::string_view text) {
  CodeEntry entry;
  entry.Code.Assign(text);
  return entry;
}

// Three points loaded as coordinates, the send started.
struct SendRig : TransferRig {
  explicit SendRig(int points = 3) {
    for (int i = 1; i <= points; ++i)
      data.PointList.push_back(MakePoint("P" + std::to_string(i), i == 2 ? "" : "T", i, 2.5, -0.125));
    data.DataKind = DataKind::Coord;
    lines = SendLinesFor(data);
  }
  StartResult Start() { return controller.SendBtnClick(lines); }
  LineList lines;
};

TEST(TransferSend, NothingToSendShowsTheMessageAndLeavesThePortAlone) {
  TransferRig rig;
  rig.data.DataKind = DataKind::Coord;
  EXPECT_EQ(rig.controller.SendBtnClick({}), StartResult::NothingToSend);
  EXPECT_EQ(rig.host.messages, std::vector<TextId>{TextId::EmptyUpload});
  EXPECT_EQ(rig.host.openCalls, 0);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_TRUE(rig.host.controls.empty());
}

TEST(TransferSend, PortFailureShowsSettingsErrorAndChangesNothing) {
  SendRig rig;
  rig.host.failOpen = true;
  EXPECT_EQ(rig.Start(), StartResult::PortFailed);
  EXPECT_EQ(rig.host.status, TextId::PortSettingsError);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_TRUE(rig.controller.Memo1().empty());
  EXPECT_FALSE(rig.host.timerEnabled);
}

TEST(TransferSend, StartPreparesTheLinesButWritesNothing) {
  SendRig rig;
  ASSERT_EQ(rig.Start(), StartResult::Started);
  auto& h = rig.host;
  EXPECT_EQ(rig.controller.TransferState(), TransferSending);
  EXPECT_EQ(rig.controller.TransferCount(), 0);
  EXPECT_EQ(rig.controller.Memo1().size(), 3u);
  EXPECT_TRUE(h.timerEnabled);
  EXPECT_EQ(h.timerInterval, 20000);
  EXPECT_EQ(h.status, TextId::SendStarted);
  EXPECT_EQ(h.counter, std::make_pair(TextId::TxPrefix, 0));
  EXPECT_FALSE(h.Enabled(C::OpenBtn));
  EXPECT_FALSE(h.Enabled(C::SaveBtn));
  EXPECT_FALSE(h.Enabled(C::ReceiveBtn));
  EXPECT_FALSE(h.Enabled(C::ComportSettingGroup));
  EXPECT_FALSE(h.Enabled(C::FileControlGroup));
  EXPECT_TRUE(h.Enabled(C::StopBtn));
  EXPECT_FALSE(h.Touched(C::SendBtn));
  EXPECT_FALSE(h.Touched(C::TransControlGroup));
  EXPECT_TRUE(h.written.empty());
}

TEST(TransferSend, EachRequestIsAnsweredWithTheNextLineInWireForm) {
  SendRig rig;
  rig.Start();
  rig.Arrive("\r\n");  // CR with other characters: still one request
  rig.Arrive("\r");
  rig.Arrive("x\ry");
  ASSERT_EQ(rig.host.writes.size(), 3u);
  EXPECT_EQ(rig.host.writes[0], "P1 T 0 1.000000 2.500000 -0.125000 0\r\n");
  EXPECT_EQ(rig.host.writes[1], "P2 \b 0 2.000000 2.500000 -0.125000 0\r\n");
  EXPECT_EQ(rig.host.writes[2], "P3 T 0 3.000000 2.500000 -0.125000 0\r\n");
  EXPECT_EQ(rig.host.counterHistory, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(rig.controller.TransferCount(), 3);
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
}

TEST(TransferSend, OneEventAnswersOneRequestHoweverManyCRs) {
  SendRig rig;
  rig.Start();
  rig.Arrive("\r\r\r\r");
  EXPECT_EQ(rig.host.writes.size(), 1u);
  EXPECT_EQ(rig.controller.TransferCount(), 1);
}

TEST(TransferSend, TextWithoutCRIsDroppedAndDoesNotRestartTheTimer) {
  SendRig rig;
  rig.Start();
  rig.Elapse(100);
  rig.Arrive("abc\n");
  EXPECT_TRUE(rig.host.writes.empty());
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  EXPECT_EQ(rig.host.timerInterval, 20000);
  EXPECT_EQ(rig.host.timerStartedAt, 0);
  rig.Arrive("\r");
  EXPECT_EQ(rig.host.writes.size(), 1u);
  EXPECT_EQ(rig.host.timerInterval, 2000);
  EXPECT_EQ(rig.host.timerStartedAt, 100);
}

TEST(TransferSend, NPointsNeedNPlusOneRequestsThenThePortClosesTwoSecondsLater) {
  SendRig rig;
  rig.Start();
  for (int i = 0; i < 3; ++i) {
    rig.Elapse(1999);
    rig.Arrive("\r");
  }
  EXPECT_EQ(rig.controller.TransferState(), TransferSending);
  rig.Arrive("\r");
  EXPECT_EQ(rig.host.writes.size(), 3u);
  EXPECT_EQ(rig.host.status, TextId::SentSuccessfully);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_TRUE(rig.host.connected);
  EXPECT_EQ(rig.host.timerInterval, 2000);

  // Idle with the port still open: what arrives is read and dropped.
  rig.Arrive("\r\nstray\r\n");
  EXPECT_TRUE(rig.host.input.empty());
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  EXPECT_EQ(rig.host.writes.size(), 3u);

  rig.Elapse(1999);
  EXPECT_TRUE(rig.host.connected);
  rig.Elapse(1);
  EXPECT_FALSE(rig.host.connected);
  EXPECT_EQ(rig.host.status, TextId::OperationComplete);
  // The send buffer is never loaded as if it had been received.
  EXPECT_EQ(rig.host.refreshes, 0);
  EXPECT_EQ(rig.data.PointList.size(), 3u);
  EXPECT_EQ(rig.data.DataKind, DataKind::Coord);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::NothingLoaded);
}

TEST(TransferSend, FewerRequestsEndByTimeoutAfterTheLastLineSent) {
  SendRig rig;
  rig.Start();
  rig.Arrive("\r");
  rig.Arrive("\r");
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_FALSE(rig.host.connected);
  EXPECT_EQ(rig.host.status, TextId::OperationComplete);
  EXPECT_EQ(rig.controller.TransferCount(), 2);
  const auto& shown = rig.host.statusHistory;
  EXPECT_EQ(std::count(shown.begin(), shown.end(), TextId::SentSuccessfully), 0);
}

TEST(TransferSend, NoRequestWithinTwentySecondsEnds) {
  SendRig rig;
  rig.Start();
  rig.Elapse(19999);
  EXPECT_EQ(rig.controller.TransferState(), TransferSending);
  rig.Elapse(1);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_TRUE(rig.host.writes.empty());
}

TEST(TransferSend, StopSendsNoFurtherLine) {
  SendRig rig;
  rig.Start();
  rig.Arrive("\r");
  rig.controller.StopBtnClick();
  EXPECT_FALSE(rig.host.connected);
  rig.Arrive("\r");
  EXPECT_EQ(rig.host.writes.size(), 1u);
  EXPECT_EQ(rig.host.status, TextId::Stopped);
  EXPECT_TRUE(rig.host.Enabled(C::SendBtn));
  EXPECT_TRUE(rig.host.Enabled(C::ReceiveBtn));
}

TEST(TransferSend, EmptyCodesAreNotSentAndUseNoRequest) {
  TransferRig rig;
  for (const char* code : {"TREE", "", "WALL  ", ""}) rig.data.CodeList.push_back(MakeCode(code));
  rig.data.DataKind = DataKind::Code;
  ASSERT_EQ(rig.controller.SendBtnClick(SendLinesFor(rig.data)), StartResult::Started);
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"TREE", "WALL  "}));
  for (int i = 0; i < 3; ++i) rig.Arrive("\r");
  EXPECT_EQ(rig.host.written, "TREE\r\nWALL\r\n");
  EXPECT_EQ(rig.host.status, TextId::SentSuccessfully);
}

TEST(TransferSend, SendLinesAreTrimmedBeforeTheLineEnd) {
  TransferRig rig;
  rig.data.CodeList.push_back(MakeCode("X"));
  rig.controller.SendBtnClick({" \tA B\x01 ", "\x7f"});
  rig.Arrive("\r");
  rig.Arrive("\r");
  EXPECT_EQ(rig.host.written, "A B\r\n\x7f\r\n");
}

TEST(TransferSend, MeasurementKindSendsNothingAndTheFirstRequestEndsIt) {
  TransferRig rig;
  rig.data.PointList.push_back(MakePoint("P1", "", 1, 2, 3));
  rig.data.DataKind = DataKind::Measure;
  const LineList lines = SendLinesFor(rig.data);
  EXPECT_TRUE(lines.empty());
  ASSERT_EQ(rig.controller.SendBtnClick(lines), StartResult::Started);
  rig.Arrive("\r");
  EXPECT_TRUE(rig.host.written.empty());
  EXPECT_EQ(rig.host.status, TextId::SentSuccessfully);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
}

TEST(TransferSend, StopAfterAReceiveThenSendDoesNotLoadTheOldLines) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("T1\r\n");
  rig.controller.StopBtnClick();
  EXPECT_TRUE(rig.controller.LinesReceived());
  rig.data.CodeList.push_back(MakeCode("C1"));
  rig.data.DataKind = DataKind::Code;
  rig.controller.SendBtnClick(SendLinesFor(rig.data));
  EXPECT_FALSE(rig.controller.LinesReceived());
  rig.Elapse(20000);
  EXPECT_EQ(rig.host.refreshes, 0);
  ASSERT_EQ(rig.data.CodeList.size(), 1u);
  EXPECT_EQ(rig.data.CodeList[0].Code.Str(), "C1");
}

TEST(TransferSend, AWriteThatRaisesStillEndsTheTransferByItsTimer) {
  SendRig rig;
  rig.Start();
  rig.host.failWrite = true;
  EXPECT_THROW(rig.Arrive("\r"), std::runtime_error);
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  EXPECT_TRUE(rig.host.timerEnabled);
  EXPECT_EQ(rig.host.timerInterval, 2000);
  // The line went out in part at best: no later line may follow it.
  rig.host.failWrite = false;
  rig.Arrive("\r");
  EXPECT_TRUE(rig.host.writes.empty());
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_FALSE(rig.host.connected);
  ASSERT_EQ(rig.host.cuts.size(), 1u);
  EXPECT_EQ(rig.host.cuts[0].Line, 1u);
  EXPECT_EQ(rig.host.cuts[0].Error, "WriteFile function failed (Error: 5)");
}

TEST(TransferSend, ALineTheInstrumentTakesOnlyInPartStopsTheSendNamingIt) {
  SendRig rig;
  rig.Start();
  rig.Arrive("\r");
  rig.host.writeLimit = 7;
  rig.Arrive("\r");
  rig.host.writeLimit = -1;
  rig.Arrive("\r");
  EXPECT_EQ(rig.host.writes.size(), 2u);
  EXPECT_TRUE(rig.host.cuts.empty());
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_FALSE(rig.host.connected);
  ASSERT_EQ(rig.host.cuts.size(), 1u);
  const SendCut& cut = rig.host.cuts[0];
  EXPECT_EQ(cut.Line, 2u);
  EXPECT_EQ(cut.Total, 3u);
  EXPECT_EQ(cut.Name, "P2");
  EXPECT_EQ(cut.WholeLines, 1u);
  EXPECT_TRUE(cut.Error.empty());
  EXPECT_FALSE(std::count(rig.host.statusHistory.begin(), rig.host.statusHistory.end(), TextId::SentSuccessfully));
}

TEST(TransferSendLines, EmptyNameIsSentAsNoname) {
  WorkingData data;
  data.PointList.push_back(MakePoint("", "", 1, 2, 3));
  data.DataKind = DataKind::Coord;
  EXPECT_EQ(SendLinesFor(data), LineList{"NONAME \b 0 1.000000 2.000000 3.000000 0"});
}

}  // namespace
}  // namespace theolink
