// The receive half of the transfer state machine, driven without a port or a clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "records/text_trim.h"
#include "serial/transfer_fake_host.h"
#include "support/temp_dir.h"

namespace theolink {
namespace {

using test::TransferRig;
using C = TransferControl;

CodeEntry MakeCode(std::string_view text) {
  CodeEntry entry;
  entry.Code.Assign(text);
  return entry;
}

PointRecord MakePoint(std::string_view name) {
  PointRecord point;
  point.Name.Assign(name);
  return point;
}

const std::string kCoordExport =
    "SC      P1,1.5000,T1\r\n"
    "ENZ     10.0000,20.0000,3.0000\r\n"
    "SC      P2,1.5000,\r\n"
    "NEZ     40.0000,30.0000,5.0000\r\n";

const std::string kMeasureJob =
    "JOB     A1\r\n"
    "INST    X\r\n"
    "STA     S1,1.5000,\r\n"
    "XYZ     100.0000,200.0000,10.0000\r\n"
    "SC      P1,1.5000,T1\r\n"
    "ENZ     10.0000,20.0000,3.0000\r\n";

TEST(TransferReceive, StartOpensPortArmsTwentySecondsAndLocksTheWindow) {
  TransferRig rig;
  rig.data.CodeList.push_back(MakeCode("KEEP"));
  ASSERT_EQ(rig.controller.ReceiveBtnClick(), StartResult::Started);
  auto& h = rig.host;
  EXPECT_TRUE(h.connected);
  EXPECT_EQ(rig.controller.TransferState(), TransferReceiving);
  EXPECT_EQ(rig.controller.TransferCount(), 1);
  EXPECT_FALSE(rig.controller.LinesReceived());
  EXPECT_TRUE(h.timerEnabled);
  EXPECT_EQ(h.timerInterval, 20000);
  EXPECT_EQ(h.status, TextId::Receiving);
  EXPECT_EQ(h.counter, std::make_pair(TextId::RxPrefix, 0));
  EXPECT_FALSE(h.Enabled(C::OpenBtn));
  EXPECT_FALSE(h.Enabled(C::SaveBtn));
  EXPECT_FALSE(h.Enabled(C::SendBtn));
  EXPECT_TRUE(h.Enabled(C::StopBtn));
  EXPECT_FALSE(h.Enabled(C::ComportSettingGroup));
  EXPECT_FALSE(h.Enabled(C::FileControlGroup));
  // Receive itself and the transfer group stay as they were.
  EXPECT_FALSE(h.Touched(C::ReceiveBtn));
  EXPECT_FALSE(h.Touched(C::TransControlGroup));
  EXPECT_EQ(rig.data.CodeList.size(), 1u);
  EXPECT_TRUE(h.written.empty());
}

TEST(TransferReceive, PortFailureShowsSettingsErrorAndChangesNothing) {
  TransferRig rig;
  rig.host.failOpen = true;
  EXPECT_EQ(rig.controller.ReceiveBtnClick(), StartResult::PortFailed);
  EXPECT_EQ(rig.host.status, TextId::PortSettingsError);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_FALSE(rig.host.timerEnabled);
  EXPECT_TRUE(rig.host.controls.empty());
}

TEST(TransferReceive, LineSplitOverThreeEventsIsCutOnceWhenComplete) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Elapse(5000);
  rig.Arrive("T");
  rig.Arrive("1\r");
  EXPECT_TRUE(rig.controller.Memo1().empty());
  // Incomplete text does not restart the first-line timer.
  EXPECT_EQ(rig.host.timerInterval, 20000);
  EXPECT_EQ(rig.host.timerStartedAt, 0);
  rig.Arrive("\n");
  EXPECT_EQ(rig.controller.Memo1(), LineList{"T1"});
  EXPECT_EQ(rig.host.timerInterval, 2000);
  EXPECT_EQ(rig.host.timerStartedAt, 5000);
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  EXPECT_TRUE(rig.controller.LinesReceived());
}

TEST(TransferReceive, EveryArrivalReadsExactlyTheWaitingCount) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.host.input = "ABC\r\nDE";
  rig.controller.ComPort1RxChar(3);
  EXPECT_EQ(rig.host.readCounts.back(), 3);
  EXPECT_EQ(rig.controller.RxBuffer(), "ABC");
  rig.controller.ComPort1RxChar(4);
  EXPECT_EQ(rig.controller.Memo1(), LineList{"ABC"});
  EXPECT_EQ(rig.controller.RxBuffer(), "DE");
}

TEST(TransferReceive, SeveralLinesInOneEventAreCutInOrderWithHalvedCounter) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("A\r\nB\r\nC\r\nD\r\nE\r\ntail");
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(rig.host.counterHistory, (std::vector<int>{0, 1, 1, 2, 2, 3}));
  EXPECT_EQ(rig.controller.TransferCount(), 6);
  EXPECT_EQ(rig.controller.RxBuffer(), "tail");
}

TEST(TransferReceive, LinesAreTrimmedOfControlCharactersAndBlanks) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive(" \t\x01P1 X\x7f \x1f\r\n   \r\nA\rB\r\n");
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"P1 X\x7f", "", "A\rB"}));
}

TEST(TransferReceive, EmptyLineDoesNotStallTheLinesAfterIt) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("\r\nA\r\n\r\n\r\nB\r\n");
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"", "A", "", "", "B"}));
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
}

TEST(TransferReceive, CoordinateExportEndingInABlankLineStillLoadsAsPoints) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("SC      P1,0.0000,T1\r\nENZ     10.0000,20.0000,3.0000\r\n\r\n");
  rig.Elapse(2000);
  EXPECT_EQ(rig.data.DataKind, DataKind::Coord);
  ASSERT_EQ(rig.data.PointList.size(), 1u);
  EXPECT_EQ(rig.data.PointList[0].North, 20.0);
}

TEST(TransferReceive, SilenceAfterLastLineEndsAndDropsTheUnfinishedLine) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("T1\r\nT2\r\nT3");
  rig.Elapse(1500);
  rig.Arrive("x");  // not a line: must not restart the silence timer
  rig.Elapse(499);
  EXPECT_EQ(rig.controller.TransferState(), TransferReceiving);
  rig.Elapse(1);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_FALSE(rig.host.connected);
  EXPECT_FALSE(rig.host.timerEnabled);
  EXPECT_EQ(rig.host.status, TextId::OperationComplete);
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  ASSERT_EQ(rig.data.CodeList.size(), 2u);
  EXPECT_EQ(rig.data.CodeList[1].Code.Str(), "T2");
  EXPECT_EQ(rig.data.DataKind, DataKind::Code);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Codes);
  EXPECT_EQ(rig.host.refreshes, 1);
  EXPECT_FALSE(rig.controller.LinesReceived());
  EXPECT_TRUE(rig.host.Enabled(C::ReceiveBtn));
  EXPECT_TRUE(rig.host.Enabled(C::SendBtn));
  EXPECT_TRUE(rig.host.written.empty());
}

TEST(TransferReceive, NoLineWithinTwentySecondsEndsWithoutLoadingOrRebuilding) {
  TransferRig rig;
  rig.data.CodeList.push_back(MakeCode("OLD"));
  rig.data.DataKind = DataKind::Code;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("partial");
  rig.Elapse(19999);
  EXPECT_EQ(rig.controller.TransferState(), TransferReceiving);
  rig.Elapse(1);
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_EQ(rig.host.status, TextId::OperationComplete);
  EXPECT_EQ(rig.host.refreshes, 0);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::NothingLoaded);
  ASSERT_EQ(rig.data.CodeList.size(), 1u);
  EXPECT_EQ(rig.data.DataKind, DataKind::Code);
  EXPECT_FALSE(rig.host.connected);
}

TEST(TransferReceive, CoordinateOnlyKeywordLinesBecomePoints) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive(kCoordExport);
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Coordinates);
  EXPECT_EQ(rig.data.DataKind, DataKind::Coord);
  EXPECT_TRUE(rig.data.MeasurementList.empty());
  ASSERT_EQ(rig.data.PointList.size(), 2u);
  EXPECT_EQ(rig.data.PointList[0].Name.Str(), "P1");
  EXPECT_DOUBLE_EQ(rig.data.PointList[0].North, 20.0);
  EXPECT_DOUBLE_EQ(rig.data.PointList[0].East, 10.0);
  EXPECT_DOUBLE_EQ(rig.data.PointList[1].North, 40.0);
  EXPECT_DOUBLE_EQ(rig.data.PointList[1].East, 30.0);
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(TransferReceive, AnyOtherKeywordMakesAMeasurementJob) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive(kMeasureJob);
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Measurement);
  EXPECT_EQ(rig.data.DataKind, DataKind::Measure);
  EXPECT_EQ(rig.data.JobName, "A1");
  EXPECT_EQ(rig.data.MeasurementList.size(), 2u);
  EXPECT_TRUE(rig.data.PointList.empty());
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(TransferReceive, KeywordTextWithoutRecordsSaysNoValidData) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("STA     S1,notanumber,\r\nXYZ     1,2,3\r\n");
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::NoValidData);
  EXPECT_EQ(rig.host.messages, std::vector<TextId>{TextId::NoValidData});
  EXPECT_EQ(rig.data.DataKind, DataKind::Measure);
  EXPECT_EQ(rig.host.refreshes, 1);
}

TEST(TransferReceive, CoordinateLinesThatDoNotLoadLeaveTheDataAlone) {
  TransferRig rig;
  rig.data.CodeList.push_back(MakeCode("OLD"));
  rig.data.DataKind = DataKind::Code;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("NEZ     1.0,2.0,3.0\r\n");  // a coordinate line with no SC before it
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::NoValidData);
  EXPECT_EQ(rig.host.messages, std::vector<TextId>{TextId::NoValidData});
  EXPECT_EQ(rig.data.DataKind, DataKind::Code);
  EXPECT_EQ(rig.data.CodeList.size(), 1u);
}

TEST(TransferReceive, CodeTableLinesBecomeCodes) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("TREE:1:2:3:4:5:6:7:8:9\r\nWALL:a:b:c:d:e:f:g:h:i\r\n");
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Codes);
  ASSERT_EQ(rig.data.CodeList.size(), 2u);
  EXPECT_EQ(rig.data.CodeList[1].Code.Str(), "WALL");
}

TEST(TransferReceive, LinesNoReaderTakesKeepTheDataAndRebuildTheViews) {
  TransferRig rig;
  rig.data.PointList.push_back(MakePoint("P9"));
  rig.data.DataKind = DataKind::Coord;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("P1,T1,1.0,2.0,3.0\r\n");
  rig.Elapse(2000);
  EXPECT_EQ(rig.controller.LastOutcome(), ReceiveOutcome::Unrecognised);
  EXPECT_EQ(rig.data.DataKind, DataKind::Coord);
  EXPECT_EQ(rig.data.PointList.size(), 1u);
  EXPECT_EQ(rig.host.refreshes, 1);
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(TransferReceive, ReceiveAgainRestartsTheTransfer) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("A\r\nB\r\nC\r\n");
  rig.Elapse(1000);
  ASSERT_EQ(rig.controller.ReceiveBtnClick(), StartResult::Started);
  EXPECT_EQ(rig.host.openCalls, 2);
  EXPECT_TRUE(rig.controller.Memo1().empty());
  EXPECT_EQ(rig.controller.TransferCount(), 1);
  EXPECT_FALSE(rig.controller.LinesReceived());
  EXPECT_EQ(rig.host.timerInterval, 20000);
  EXPECT_EQ(rig.host.timerStartedAt, 1000);
  rig.Elapse(19999);
  EXPECT_EQ(rig.controller.TransferState(), TransferReceiving);
}

TEST(TransferReceive, StopKeepsTheLinesUnloadedAndClosesThePort) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  rig.Arrive("T1\r\nT2\r\npart");
  rig.controller.StopBtnClick();
  EXPECT_EQ(rig.controller.TransferState(), TransferIdle);
  EXPECT_EQ(rig.controller.Memo1(), (LineList{"T1", "T2"}));
  EXPECT_TRUE(rig.controller.RxBuffer().empty());
  EXPECT_TRUE(rig.data.CodeList.empty());
  EXPECT_EQ(rig.host.status, TextId::Stopped);
  EXPECT_FALSE(rig.host.connected);
  EXPECT_FALSE(rig.host.timerEnabled);
  rig.Elapse(30000);
  EXPECT_TRUE(rig.data.CodeList.empty());
  EXPECT_EQ(rig.host.refreshes, 0);
  EXPECT_EQ(rig.host.closeCalls, 1);
}

TEST(TransferStop, EnablesTheWindowAndSetsSendAndReceiveByDataKind) {
  struct Row {
    DataKind kind;
    bool send, receive;
  };
  for (const Row row : {Row{DataKind::Measure, false, true}, Row{DataKind::Coord, true, true},
                        Row{DataKind::Code, true, false}}) {
    TransferRig rig;
    rig.data.DataKind = row.kind;
    rig.controller.ReceiveBtnClick();
    rig.controller.StopBtnClick();
    auto& h = rig.host;
    SCOPED_TRACE(static_cast<int>(row.kind));
    EXPECT_TRUE(h.Enabled(C::ComportSettingGroup));
    EXPECT_TRUE(h.Enabled(C::TransControlGroup));
    EXPECT_TRUE(h.Enabled(C::FileControlGroup));
    EXPECT_FALSE(h.Enabled(C::StopBtn));
    EXPECT_TRUE(h.Enabled(C::OpenBtn));
    EXPECT_TRUE(h.Enabled(C::SaveBtn));
    EXPECT_EQ(h.Enabled(C::SendBtn), row.send);
    EXPECT_EQ(h.Enabled(C::ReceiveBtn), row.receive);
  }
}

TEST(TransferStop, StopWhenIdleWithThePortClosedDoesNotCloseAgain) {
  TransferRig rig;
  rig.controller.StopBtnClick();
  EXPECT_EQ(rig.host.closeCalls, 0);
  EXPECT_EQ(rig.host.status, TextId::Stopped);
}

TEST(TransferReceive, RawCopyKeepsEveryByteOfEachReceiveInAFileOfItsOwn) {
  test::TempDir dir;
  RawReceiveCopy copy(dir.File("received"));
  TransferRig rig;
  rig.controller.SetRawCopy(&copy);
  ASSERT_EQ(rig.controller.StartReceive(), StartResult::Started);
  rig.Elapse(FirstLineTimeoutMs);  // no byte: no file, not even the folder
  EXPECT_EQ(rig.controller.RawCopyPath(), "");
  EXPECT_FALSE(std::filesystem::exists(dir.File("received")));

  std::vector<std::string> paths;
  for (const std::string& bytes : {std::string("T1\r\nWA"), std::string("\r\n\xff\0\r\n", 6)}) {
    ASSERT_EQ(rig.controller.StartReceive(), StartResult::Started);
    rig.Arrive(bytes.substr(0, 3));
    rig.Arrive(bytes.substr(3));
    rig.Elapse(FirstLineTimeoutMs);
    paths.push_back(rig.controller.RawCopyPath());
    std::ifstream in(paths.back(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
  }
  EXPECT_NE(paths[0], paths[1]);  // the same second gives the second copy a name of its own
  EXPECT_EQ(copy.Error(), "");
}

TEST(TransferReceive, LargeBurstIsCutCompletely) {
  TransferRig rig;
  rig.controller.ReceiveBtnClick();
  std::string burst;
  for (int i = 0; i < 20000; ++i) burst += "CODE" + std::to_string(i % 97) + "\r\n";
  rig.Arrive(burst);
  EXPECT_EQ(rig.controller.Memo1().size(), 20000u);
  EXPECT_EQ(rig.host.counter.second, 20001 / 2);
}

}  // namespace
}  // namespace theolink

namespace theolink {
namespace {

// Lines as the wire defines them: cut at every CR LF, trimmed; the rest is unfinished.
LineList ReferenceCut(const std::string& text) {
  LineList lines;
  std::size_t start = 0;
  for (std::size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
    lines.emplace_back(Trim(std::string_view(text).substr(start, p - start)));
  return lines;
}

TEST(TransferReceive, HowTheBytesAreSplitIntoEventsNeverChangesTheLines) {
  std::mt19937 random(20261208);
  const std::string alphabet = "AB1 ,.\t\r\r\n\n\x01\xff";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    test::TransferRig rig;
    rig.controller.ReceiveBtnClick();
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t n = 1 + random() % 7;
      rig.Arrive(text.substr(at, n));
      at += n;
    }
    const LineList expected = ReferenceCut(text);
    ASSERT_EQ(rig.controller.Memo1(), expected) << ::testing::PrintToString(text);
    EXPECT_EQ(rig.controller.TransferCount(), 1 + static_cast<int>(expected.size()));
  }
}

}  // namespace
}  // namespace theolink
