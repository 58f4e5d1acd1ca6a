// Receive and Send from the window over a real pseudo-terminal whose other side plays the
// instrument; the port's events reach the window through the Qt dispatcher.
#include <QCoreApplication>
#include <QElapsedTimer>
#include "window/line_view.h"

#include "app/ini_file.h"
#include "app/window_texts.h"
#include "support/pty_instrument.h"
#include "support/waits.h"
#include "window/grid_model.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

class TransferWindowTest : public WindowFixture {
 protected:
  TForm1& StartOnPty() { return Start({pty_.Path()}); }

  // Plays one request of the instrument: a CR, then what the port answers (pumping the
  // window's events meanwhile, since the hand-off runs there).
  std::string Request(std::size_t want) {
    pty_.Send("\r");
    std::string got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < want && timer.elapsed() < 3000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      got += pty_.Receive(want - got.size(), std::chrono::milliseconds(5));
    }
    return got;
  }
  // The wire text of a send: one request per line, then the request that ends it.
  std::string SendAll(std::size_t lines) {
    std::string wire;
    for (std::size_t i = 0; i < lines; ++i) {
      std::string line;
      line = Request(1);
      // The rest of the line may come in later reads.
      QElapsedTimer timer;
      timer.start();
      while ((line.size() < 2 || line.substr(line.size() - 2) != "\r\n") && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        line += pty_.Receive(1, std::chrono::milliseconds(5));
      }
      wire += line;
    }
    pty_.Send("\r");
    return wire;
  }

  PtyInstrument pty_;
};

TEST_F(TransferWindowTest, ReceivedJobIsShownWithItsTotal) {
  Watchdog watchdog(std::chrono::seconds(20), "receive");
  StartOnPty();
  Click("ReceiveBtn");
  EXPECT_TRUE(form_->ComPort1().Connected());
  EXPECT_TRUE(Control("StopBtn")->isEnabled());
  EXPECT_FALSE(Control("OpenBtn")->isEnabled());
  EXPECT_FALSE(Control("SendBtn")->isEnabled());
  EXPECT_EQ(form_->StatusText(0), QString::fromUtf8("Sending，If you want to stop, press the stop button"));
  const std::string job = ReadBytes(std::string(THEOLINK_TEST_DATA) + "/e2e/job.wkj");
  pty_.Send(job);
  QTRY_VERIFY_WITH_TIMEOUT(!form_->ComPort1().Connected(), 8000);
  QTRY_VERIFY_WITH_TIMEOUT(form_->StatusText(0).contains(QStringLiteral("Raw copy: ")), 3000);
  const QString status = form_->StatusText(0);
  EXPECT_TRUE(status.startsWith(QStringLiteral("Operation is complete!"))) << status.toStdString();
  EXPECT_EQ(ReadBytes(status.mid(status.indexOf(QStringLiteral("Raw copy: ")) + 10).toStdString()), job);
  EXPECT_EQ(form_->Data().DataKind, DataKind::Measure);
  ASSERT_FALSE(form_->Data().MeasurementList.empty());
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: %1").arg(form_->Data().MeasurementList.size()));
  EXPECT_TRUE(Control<LineView>("MeasText")->toPlainText().startsWith(QStringLiteral("JOB     SITE7")));
  // Panel 2 keeps the transfer's last progress: every byte and line, and the time taken.
  std::size_t lines = 0;
  for (std::size_t at = job.find("\r\n"); at != std::string::npos; at = job.find("\r\n", at + 2)) ++lines;
  const QString progress = form_->StatusText(2);
  EXPECT_TRUE(progress.startsWith(QString::fromStdString(CountText(job.size(), 1) + " bytes, " + std::to_string(lines) +
                                                         " lines, 0:0")))
      << progress.toStdString();
  EXPECT_FALSE(Control("StopBtn")->isEnabled());
  EXPECT_TRUE(Control("OpenBtn")->isEnabled());
}

TEST_F(TransferWindowTest, ARawCopyThatCannotBeMadeIsSaidAndTheJobStillLoads) {
  Watchdog watchdog(std::chrono::seconds(20), "raw copy failed");
  WriteBytes(File("received"), "a file where the copies' folder should be");
  StartOnPty();
  Click("ReceiveBtn");
  pty_.Send(ReadBytes(std::string(THEOLINK_TEST_DATA) + "/e2e/job.wkj"));
  QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.notices.empty(), 8000);
  EXPECT_TRUE(dialogs_.notices.back().startsWith(
      QStringLiteral("The raw copy of the received bytes is incomplete: ") + QString::fromStdString(File("received"))))
      << dialogs_.notices.back().toStdString();
  EXPECT_FALSE(form_->StatusText(0).contains(QStringLiteral("Raw copy: ")));
  EXPECT_EQ(form_->Data().DataKind, DataKind::Measure);
  EXPECT_FALSE(form_->Data().MeasurementList.empty());
}

TEST_F(TransferWindowTest, SendOfCoordinatesAndOfCodesMatchesTheWireByteForByte) {
  Watchdog watchdog(std::chrono::seconds(30), "send");
  StartOnPty();
  struct Case { const char* file; const char* wire; std::size_t lines; };
  for (const Case& c : {Case{"coords.csv", "coords_upload.wire", 3}, Case{"codes.txt", "codes_upload.wire", 4}}) {
    OpenFile(std::string(THEOLINK_TEST_DATA) + "/e2e/" + c.file);
    Click("SendBtn");
    EXPECT_EQ(form_->StatusText(0), QStringLiteral("Start transferring files!"));
    EXPECT_EQ(SendAll(c.lines), ReadBytes(std::string(THEOLINK_TEST_DATA) + "/e2e/" + c.wire)) << c.file;
    QTRY_COMPARE_WITH_TIMEOUT(form_->StatusText(0), QStringLiteral("Sent successfully!"), 3000);
    EXPECT_EQ(form_->StatusText(1), QStringLiteral("Tx: %1").arg(c.lines));
    QTRY_VERIFY_WITH_TIMEOUT(!form_->ComPort1().Connected(), 4000);
    EXPECT_TRUE(dialogs_.notices.empty());
  }
}

TEST_F(TransferWindowTest, SendOfPointsTypedIntoTheGridTransmitsExactlyThem) {
  Watchdog watchdog(std::chrono::seconds(30), "send typed");
  StartOnPty();
  Click("CoordBtn");
  TypeTwoPointsAndReturn();
  ASSERT_TRUE(dialogs_.notices.empty());
  Click("SendBtn");
  EXPECT_EQ(SendAll(2), ReadBytes(std::string(THEOLINK_TEST_DATA) + "/window/typed_upload.wire"));
  QTRY_COMPARE_WITH_TIMEOUT(form_->StatusText(0), QStringLiteral("Sent successfully!"), 3000);
}

TEST_F(TransferWindowTest, ALineTheInstrumentStopsReadingIsNamedInTheStatusAndANotice) {
  Watchdog watchdog(std::chrono::seconds(40), "cut");
  StartOnPty();
  std::string codes;
  for (int i = 1; i <= 2000; ++i) codes += "CODE-" + std::to_string(100000 + i) + "-AB\r\n";
  const std::string path = File("codes.txt");
  WriteBytes(path, codes);
  OpenFile(path);
  Click("SendBtn");
  // The instrument keeps asking but reads nothing for longer than a line's time limit.
  QElapsedTimer stall;
  stall.start();
  while (stall.elapsed() < 4000) {
    pty_.Send("\r");
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  std::string wire;
  for (std::string part; !(part = pty_.Receive(4096, std::chrono::milliseconds(300))).empty();) wire += part;
  QTRY_VERIFY_WITH_TIMEOUT(!form_->ComPort1().Connected(), 5000);
  ASSERT_FALSE(dialogs_.notices.empty());
  const QString notice = dialogs_.notices.back();
  EXPECT_TRUE(notice.contains(QStringLiteral(" was cut short: the instrument stopped reading; "))) << notice.toStdString();
  EXPECT_EQ(form_->StatusText(0), notice);
  const auto whole = static_cast<std::size_t>(notice.section(QLatin1Char(';'), 1).section(QLatin1Char(' '), 1, 1).toULongLong());
  EXPECT_TRUE(notice.startsWith(QStringLiteral("line %1 of 2000 (CODE-%2-AB)").arg(whole + 1).arg(100000 + whole + 1)))
      << notice.toStdString();
  const std::size_t end = whole * 16;
  ASSERT_GE(wire.size(), end);
  EXPECT_TRUE(wire.compare(0, end, codes, 0, end) == 0);
  EXPECT_LT(wire.size() - end, 16u);
}

TEST_F(TransferWindowTest, InstrumentVanishingMidTransferLeavesTheWindowUsable) {
  Watchdog watchdog(std::chrono::seconds(20), "vanish");
  WriteHelp();
  StartOnPty();
  Click("ReceiveBtn");
  pty_.Send("JOB     J1\r\nINST    X\r\n");
  QTRY_COMPARE_WITH_TIMEOUT(form_->StatusText(1), QStringLiteral("Rx: 1"), 3000);
  pty_.CloseMaster();
  QTRY_VERIFY_WITH_TIMEOUT(!form_->ComPort1().Connected(), 3000);
  // The hang-up ends the receive as the silence would, says so, and names the raw copy.
  QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.notices.empty() && dialogs_.notices.back().startsWith(QStringLiteral("The link dropped")), 3000);
  EXPECT_FALSE(Control("StopBtn")->isEnabled());
  const QString status = form_->StatusText(0);
  ASSERT_TRUE(status.contains(QStringLiteral("Raw copy: "))) << status.toStdString();
  const std::string rawPath = status.mid(status.indexOf(QStringLiteral("Raw copy: ")) + 10).toStdString();
  EXPECT_EQ(rawPath.rfind(File("received/"), 0), 0u) << rawPath;
  EXPECT_EQ(ReadBytes(rawPath), "JOB     J1\r\nINST    X\r\n");
  Click("HelpBtn");
  EXPECT_TRUE(Control<LineView>("MeasText")->toPlainText().startsWith(QStringLiteral("English help")));
}

TEST_F(TransferWindowTest, AReceivePastItsSizeLimitSaysSoAndNamesTheRawCopy) {
  Watchdog watchdog(std::chrono::seconds(20), "limit");
  StartOnPty();
  form_->Controller().SetReceiveLimit(1000);
  Click("ReceiveBtn");
  std::string sent = "JOB     J1\r\nINST    X\r\n";
  for (int i = 0; sent.size() < 2500; ++i) sent += "NOTE    babble " + std::to_string(i) + "\r\n";
  pty_.Send(sent);
  QTRY_VERIFY_WITH_TIMEOUT(!dialogs_.notices.empty(), 5000);
  EXPECT_FALSE(form_->ComPort1().Connected());
  EXPECT_EQ(form_->StatusText(0), QStringLiteral("Size limit reached (1000 bytes)"));
  const QString said = QStringLiteral("Size limit reached (1000 bytes): the receive stopped and nothing was loaded. "
                                      "The raw copy keeps what came.\nRaw copy: ");
  const QString notice = dialogs_.notices.back();
  ASSERT_TRUE(notice.startsWith(said)) << notice.toStdString();
  const std::string rawPath = notice.mid(said.size()).toStdString();
  const std::string raw = ReadBytes(rawPath);
  EXPECT_GT(raw.size(), 1000u);
  EXPECT_EQ(sent.compare(0, raw.size(), raw), 0);
  EXPECT_TRUE(form_->Data().MeasurementList.empty());
}

TEST_F(TransferWindowTest, EscStopsAndClosingDuringATransferClosesThePortAndStoresBothIndexes) {
  Watchdog watchdog(std::chrono::seconds(10), "close during transfer");
  StartOnPty();
  form_->show();
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  Click("ReceiveBtn");
  pty_.Send("JOB     J1\r\n");
  QTest::keyClick(form_.get(), Qt::Key_Escape);  // as Stop
  EXPECT_FALSE(form_->ComPort1().Connected());
  EXPECT_EQ(form_->StatusText(0), QStringLiteral("Stop the operation!"));
  EXPECT_TRUE(form_->Data().MeasurementList.empty());
  Click("ReceiveBtn");
  pty_.Send("JOB     J1\r\nINST    X\r\n");
  QCoreApplication::processEvents();
  form_->close();
  EXPECT_FALSE(form_->ComPort1().Connected());
  const IniFile ini = IniFile::Load(Ini());
  EXPECT_EQ(ini.ReadInteger("Form", "Port", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", -1), 13);
}

TEST_F(TransferWindowTest, PortThatCannotOpenIsReportedAndNothingChanges) {
  Start({"/dev/theolink-no-such-port"});
  Click("ReceiveBtn");
  EXPECT_EQ(form_->StatusText(0), QStringLiteral("Serial port settings error!"));
  EXPECT_FALSE(Control("StopBtn")->isEnabled());
  EXPECT_TRUE(Control("OpenBtn")->isEnabled());
  EXPECT_EQ(form_->Controller().TransferState(), TransferIdle);
}

}  // namespace
}  // namespace theolink::test
