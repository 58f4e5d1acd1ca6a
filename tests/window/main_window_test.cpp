// Start and end of the main window, the help text, the modes and the hints.
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <stdexcept>
#include "window/line_view.h"
#include <QStackedWidget>
#include <QTableView>

#include "app/ini_file.h"
#include "app/text_table.h"
#include "files/working_data.h"
#include "window/com_combo_box.h"
#include "window/grid_model.h"
#include "window/theolink_application.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

using MainWindowTest = WindowFixture;

QString Text(TextId id) { return QString::fromUtf8(PickText(id).data(), static_cast<qsizetype>(PickText(id).size())); }

TEST_F(MainWindowTest, FirstStartWithoutConfigurationSelectsFirstPortAnd115200AndStoresOnClose) {
  WriteHelp();
  TForm1& form = Start();
  EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);  // a "C" locale starts in English
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Form", "Language", -1), 1);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Theolink II v1.5"));
  EXPECT_EQ(Control<QComboBox>("ComComboBox7")->currentIndex(), 0);
  EXPECT_EQ(Control<QComboBox>("ComComboBox8")->currentText(), QStringLiteral("115200"));
  EXPECT_EQ(form.ComPort1().Port(), "/dev/ttyFAKE0");
  EXPECT_FALSE(Control("SendBtn")->isEnabled());
  EXPECT_FALSE(Control("StopBtn")->isEnabled());
  EXPECT_TRUE(Control("ReceiveBtn")->isEnabled());
  EXPECT_EQ(Control("ReceiveBtn")->accessibleName(), QStringLiteral("Receive"));
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Welcome"));
  EXPECT_EQ(form.StatusText(1), QStringLiteral("Total: 0"));
  EXPECT_TRUE(dialogs_.notices.empty());

  // Picking another port applies it to the port at once.
  Control<QComboBox>("ComComboBox7")->setCurrentIndex(1);
  emit Control<QComboBox>("ComComboBox7")->activated(1);
  EXPECT_EQ(form.ComPort1().Port(), "/dev/ttyFAKE1");
  form.close();
  const IniFile ini = IniFile::Load(Ini());
  EXPECT_EQ(ini.ReadInteger("Form", "Port", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", -1), 13);
}

TEST_F(MainWindowTest, LanguageSevenStartsInEnglishAndIsStoredAsOne) {
  WriteIni("[Form]\r\nLanguage=7\r\nPort=5\r\nBaudrate=7\r\n");
  Start();
  EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Form", "Language", -1), 1);
  // A port position past the list leaves the box without a selection.
  EXPECT_EQ(Control<QComboBox>("ComComboBox7")->currentIndex(), -1);
  EXPECT_EQ(Control<QComboBox>("ComComboBox8")->currentText(), QStringLiteral("9600"));
  form_->close();
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Form", "Port", 99), -1);
}

TEST_F(MainWindowTest, ChineseCaptionsAndNoPortFound) {
  WriteIni("[Form]\r\nLanguage=0\r\n");
  Start({});
  EXPECT_EQ(Control("ReceiveBtn")->text(), QString::fromUtf8("接收"));
  EXPECT_EQ(Control("OKBtn")->accessibleName(), QString::fromUtf8("返回"));
  // No port is an ordinary state: said in the status bar with what to do, not in a box.
  EXPECT_TRUE(dialogs_.notices.empty());
  EXPECT_TRUE(form_->StatusText(0).startsWith(QString::fromUtf8("无任何可用串口! 请插好电缆")));
  EXPECT_EQ(Control<QLabel>("StatusPanel0")->accessibleName(), QString());  // its text is its name
  EXPECT_EQ(Control<QLabel>("StatusPanel0")->accessibleDescription(), QString::fromUtf8("消息"));
  // Qt's own buttons speak the same language.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
  form_->close();
  WriteIni("[Form]\r\nLanguage=1\r\n");
  Start();
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST_F(MainWindowTest, FirstPaintShowsTheHelpOfTheLanguage) {
  for (int language : {0, 1}) {
    WriteIni("[Form]\r\nLanguage=" + std::to_string(language) + "\r\n");
    WriteHelp();
    TForm1& form = Start();
    form.show();
    QTRY_VERIFY(form.StartHelpShown());
    auto* text = Control<LineView>("MeasText");
    QTRY_VERIFY(!text->toPlainText().isEmpty());
    EXPECT_EQ(text->toPlainText(),
              language == 1 ? QStringLiteral("English help\nline two") : QString::fromUtf8("中文帮助"));
    form_.reset();
  }
}

TEST_F(MainWindowTest, MissingAndDamagedHelp) {
  TForm1& form = Start();
  Click("HelpBtn");
  ASSERT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_EQ(dialogs_.notices[0], QStringLiteral("No HELP file can be found."));
  WriteHelp("only one section\r\n");  // English needs a second one
  Click("HelpBtn");
  ASSERT_EQ(dialogs_.notices.size(), 2u);
  EXPECT_EQ(dialogs_.notices[1], QStringLiteral("The HELP file has been damaged."));
  EXPECT_TRUE(Control<LineView>("MeasText")->toPlainText().isEmpty());
  EXPECT_EQ(form.Data().DataKind, DataKind::Measure);
}

// One row per row of the mode table: the data before, the button, the answer, and what
// follows.
struct ModeRow {
  const char* name;
  const char* file;      // opened first ("" for none)
  const char* button;    // "CoordBtn" or "CodeBtn"
  int answers;           // -1 no question expected, 1 OK, 0 Cancel
  DataKind kindAfter;
  int pageAfter;
  std::size_t pointsAfter, codesAfter, recordsAfter;
  const char* notice;
};

class ModeTable : public WindowFixture, public ::testing::WithParamInterface<ModeRow> {};

TEST_P(ModeTable, Row) {
  const ModeRow& row = GetParam();
  WriteBytes(File("job.wkj"), "JOB     J1\r\nINST    X\r\nSC      P1,1.0,C\r\nENZ     1,2,3\r\nSC      P2,1.0,\r\nENZ     4,5,6\r\n");
  WriteBytes(File("nocoord.wkj"), "JOB     J2\r\nINST    X\r\nSD      P1,1.3,C\r\nHVD     87530,318650,25.1230\r\n");
  WriteBytes(File("pts.dat"), "P1,T1,10.5,20.5,3.0\r\nP2,,1,2,3\r\nP3,,4,5,6\r\n");
  WriteBytes(File("codes.txt"), "CURB\r\nTREE\r\n");
  Start();
  if (*row.file != '\0') OpenFile(File(row.file));
  ASSERT_TRUE(dialogs_.notices.empty());
  if (row.answers >= 0) dialogs_.answers.push_back(row.answers == 1);
  Click(row.button);
  EXPECT_EQ(dialogs_.questions.size(), row.answers >= 0 ? 1u : 0u);
  EXPECT_TRUE(dialogs_.answers.empty());
  const WorkingData& d = form_->Data();
  EXPECT_EQ(d.DataKind, row.kindAfter);
  EXPECT_EQ(Control<QStackedWidget>("PageControl1")->currentIndex(), row.pageAfter);
  EXPECT_EQ(form_->GridEditing(), row.pageAfter == 1);
  EXPECT_EQ(d.PointList.size(), row.pointsAfter);
  EXPECT_EQ(d.CodeList.size(), row.codesAfter);
  EXPECT_EQ(d.MeasurementList.size(), row.recordsAfter);
  EXPECT_EQ(Control<QTableView>("StrGrid")->isVisibleTo(form_.get()), row.kindAfter != DataKind::Measure);
  EXPECT_EQ(Control("SendBtn")->isEnabled(), row.kindAfter != DataKind::Measure);
  if (*row.notice != '\0') {
    ASSERT_EQ(dialogs_.notices.size(), 1u);
    EXPECT_EQ(dialogs_.notices[0], QString::fromLatin1(row.notice));
  } else {
    EXPECT_TRUE(dialogs_.notices.empty());
  }
  if (row.pageAfter == 1) {
    Click("OKBtn");  // Return leaves the editor
    EXPECT_EQ(Control<QStackedWidget>("PageControl1")->currentIndex(), 0);
    EXPECT_FALSE(form_->GridEditing());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeTable,
    ::testing::Values(
        ModeRow{"CoordOnEmptyJobOpensEmptyGrid", "", "CoordBtn", -1, DataKind::Coord, 1, 0, 0, 0, ""},
        ModeRow{"CoordOnJobExtractsOnOk", "job.wkj", "CoordBtn", 1, DataKind::Coord, 0, 2, 0, 0, ""},
        ModeRow{"CoordOnJobCancelKeepsJob", "job.wkj", "CoordBtn", 0, DataKind::Measure, 0, 0, 0, 2, ""},
        ModeRow{"CoordOnJobWithoutPoints", "nocoord.wkj", "CoordBtn", 1, DataKind::Measure, 0, 0, 0, 1,
                "No coordinate point in the measurement data."},
        ModeRow{"CoordOnPointsOpensEditor", "pts.dat", "CoordBtn", -1, DataKind::Coord, 1, 3, 0, 0, ""},
        ModeRow{"CoordOnCodesAsksOk", "codes.txt", "CoordBtn", 1, DataKind::Coord, 1, 0, 0, 0, ""},
        ModeRow{"CoordOnCodesCancel", "codes.txt", "CoordBtn", 0, DataKind::Code, 0, 0, 2, 0, ""},
        ModeRow{"CodeOnPointsOk", "pts.dat", "CodeBtn", 1, DataKind::Code, 1, 0, 0, 0, ""},
        ModeRow{"CodeOnPointsCancelKeepsPoints", "pts.dat", "CodeBtn", 0, DataKind::Coord, 0, 3, 0, 0, ""},
        ModeRow{"CodeOnJobOk", "job.wkj", "CodeBtn", 1, DataKind::Code, 1, 0, 0, 0, ""},
        ModeRow{"CodeOnCodesAsksNothing", "codes.txt", "CodeBtn", -1, DataKind::Code, 1, 0, 2, 0, ""},
        ModeRow{"CodeOnEmptyAsksNothing", "", "CodeBtn", -1, DataKind::Code, 1, 0, 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, SecondCoordAfterExtractionOpensTheEditorOnThePoints) {
  WriteBytes(File("job.wkj"), "JOB     J1\r\nINST    X\r\nSC      P1,1.0,C\r\nENZ     1,2,3\r\n");
  Start();
  OpenFile(File("job.wkj"));
  dialogs_.answers.push_back(true);
  Click("CoordBtn");
  Click("CoordBtn");
  EXPECT_EQ(Control<QStackedWidget>("PageControl1")->currentIndex(), 1);
  EXPECT_EQ(form_->Grid().Cell(0, 1), "P1");
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 1"));
}

TEST_F(MainWindowTest, HintsFollowThePointer) {
  Start();
  QPushButton* receive = Control("ReceiveBtn");
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), receive->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(receive, &move);
  EXPECT_EQ(form_->StatusText(2), Text(TextId::ReceiveHint));
  form_->ReceiveBtnMouseMove(60, 25);
  EXPECT_EQ(form_->StatusText(2), QString());
  form_->SendBtnMouseMove(70, 5);
  EXPECT_EQ(form_->StatusText(2), Text(TextId::SendHint));
  form_->SettingBtnMouseMove(1, 1);
  EXPECT_EQ(form_->StatusText(2), QStringLiteral("Current Unit: DMS, Meter"));
  form_->StopBtnMouseMove(1, 1);
  EXPECT_EQ(form_->StatusText(2), QString());
}

TEST_F(MainWindowTest, PortListIsReadAgainWhenTheBoxOpensKeepingTheSelectionByName) {
  WriteIni("[Form]\r\nPort=1\r\n");
  Start({"/dev/ttyS0", "/dev/ttyUSB0"});
  auto* box = Control<TComComboBox>("ComComboBox7");
  EXPECT_EQ(box->currentText(), QStringLiteral("/dev/ttyUSB0"));
  *ports_ = {"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"};  // an adapter plugged in later
  box->showPopup();
  box->hidePopup();
  EXPECT_EQ(box->count(), 3);
  EXPECT_EQ(box->currentText(), QStringLiteral("/dev/ttyUSB0"));

  // A device no listing offers (a pseudo-terminal, a by-id link) is typed in, applied,
  // kept by name and chosen again at the next start; a listed name wins over its index.
  const std::string typed = File("pts-4");
  WriteBytes(typed, "");
  box->lineEdit()->selectAll();
  QTest::keyClicks(box->lineEdit(), QString::fromLocal8Bit(typed.c_str()));
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(form_->ComPort1().Port(), typed);
  form_->close();
  EXPECT_EQ(IniFile::Load(Ini()).ReadString("Form", "PortName").value_or(""), typed);
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Form", "Port", 99), -1);
  Start();
  EXPECT_EQ(form_->ComPort1().Port(), typed);
  EXPECT_EQ(Control<QComboBox>("ComComboBox7")->currentText(), QString::fromLocal8Bit(typed.c_str()));
  form_->close();
  WriteIni("[Form]\r\nPort=0\r\nPortName=/dev/ttyUSB0\r\n");
  Start({"/dev/ttyACM0", "/dev/ttyUSB0"});
  EXPECT_EQ(form_->ComPort1().Port(), "/dev/ttyUSB0");
}

// A surveyor's day by the keyboard: the file's name and "*" in the title, the files reopened
// from the recent menu, the units in the grid headers, and Ctrl+O, Ctrl+S and F1.
TEST_F(MainWindowTest, TitleRecentFilesHeaderUnitsAndShortcuts) {
  WriteHelp();
  WriteIni("[Setting]\r\nLengthUnit=1\r\n");  // US survey feet
  WriteBytes(File("pts.dat"), "P1,T1,10.5,20.5,3.0\r\n");
  WriteBytes(File("gone.dat"), "P2,,1,2,3\r\n");
  TForm1& form = Start();
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTRY_VERIFY(form.StartHelpShown());
  const QString title = QStringLiteral(" - Theolink II v1.5");

  ChooseFile(File("gone.dat"));
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  WaitForFileWork();
  ASSERT_EQ(dialogs_.filters.size(), 1u);  // Ctrl+O went to Open's dialog
  EXPECT_EQ(form.windowTitle(), QStringLiteral("gone.dat") + title);
  OpenFile(File("pts.dat"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("pts.dat") + title);
  QAbstractItemModel* grid = Grid()->model();
  EXPECT_EQ(grid->headerData(2, Qt::Horizontal).toString(), QStringLiteral("North coordinates\n[US ft]"));
  EXPECT_EQ(grid->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Code"));

  Click("CoordBtn");
  TypeIntoCell(1, 1, QStringLiteral("Q"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("pts.dat*") + title);
  QTest::keyClick(CellEditor(), Qt::Key_Return);
  Click("OKBtn");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("pts.dat*") + title);  // in the data, not in a file
  const std::string saved = File("out.dat");
  ChooseFile(saved);
  QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
  WaitForFileWork();
  EXPECT_EQ(ReadBytes(saved).substr(0, 3), "Q,T");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("out.dat") + title);
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Saved 1 point to ") + QString::fromStdString(saved));

  // No key reaches the window past a modal dialog.
  {
    QDialog modal(&form);
    modal.setModal(true);
    modal.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&modal));
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_F1);
  }
  EXPECT_EQ(dialogs_.filters.size(), 3u);
  EXPECT_EQ(form.Data().DataKind, DataKind::Coord);
  QTest::keyClick(&form, Qt::Key_F1);
  EXPECT_EQ(form.Data().DataKind, DataKind::Measure);
  EXPECT_EQ(Control<LineView>("MeasText")->toPlainText(), QStringLiteral("English help\nline two"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Theolink II v1.5"));

  auto menuActions = [&] {
    Click("RecentBtn");
    auto* menu = Control<QMenu>("RecentMenu");
    EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    return menu->actions();
  };
  auto choose = [&](QAction* action) {
    auto* menu = Control<QMenu>("RecentMenu");
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
  };
  QList<QAction*> actions = menuActions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->toolTip(), QString::fromStdString(saved));
  EXPECT_EQ(actions[1]->toolTip(), QString::fromStdString(File("pts.dat")));
  EXPECT_EQ(actions[2]->toolTip(), QString::fromStdString(File("gone.dat")));
  std::filesystem::remove(File("gone.dat"));
  choose(actions[2]);
  QTRY_COMPARE(dialogs_.notices.size(), 1u);
  EXPECT_EQ(dialogs_.notices[0], QString::fromStdString(File("gone.dat")) +
                                     QStringLiteral(" no longer exists; it was taken off the recent files."));
  EXPECT_EQ(IniFile::Load(Ini()).ReadString("Recent", "File3").value_or("?"), "");
  actions = menuActions();
  ASSERT_EQ(actions.size(), 2);
  choose(actions[1]);
  QTRY_COMPARE(form.windowTitle(), QStringLiteral("pts.dat") + title);
  WaitForFileWork();
  EXPECT_EQ(form.Grid().Cell(0, 1), "P1");
  EXPECT_EQ(IniFile::Load(Ini()).ReadString("Recent", "File1").value_or(""), File("pts.dat"));

  EXPECT_EQ(Control("RecentBtn")->accessibleName(), QStringLiteral("Recent files"));
}

TEST_F(MainWindowTest, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
  auto* app = static_cast<TheolinkApplication*>(QCoreApplication::instance());
  const auto saved = app->ShowError;
  QString shown;
  app->ShowError = [&shown](const QString& text) { shown = text; };
  QTimer::singleShot(0, [] { throw std::runtime_error("handler failed"); });
  QTRY_COMPARE(shown, QStringLiteral("handler failed"));
  app->ShowError = saved;
  Start();
  Click("HelpBtn");  // still answering
  EXPECT_EQ(dialogs_.notices.size(), 1u);
}

}  // namespace
}  // namespace theolink::test
