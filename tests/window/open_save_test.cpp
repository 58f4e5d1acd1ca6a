// Open of every file kind and Save in every filter, through the window's dialogs.
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QMimeData>
#include "window/line_view.h"
#include <QUrl>
#include <QXmlStreamReader>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <thread>

#include "app/text_table.h"
#include "files/save_formats.h"
#include "window/grid_model.h"
#include "support/mea_record.h"
#include "window/background_task.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

std::string Pts(const std::string& name, const std::string& code, double n, double e, double z) {
  std::string record(56, '\0');
  record[0] = 11;
  record.replace(1, name.size(), name);
  record.replace(16, code.size(), code);
  std::memcpy(&record[32], &n, 8);
  std::memcpy(&record[40], &e, 8);
  std::memcpy(&record[48], &z, 8);
  return record;
}

struct OpenRow {
  const char* name;
  const char* file;
  std::string bytes;
  int kind;
  const char* total;       // status panel 1 afterwards
  const char* firstShown;  // first line of MeasText, or grid cell (0,1)
  const char* notice;
};

class OpenTable : public WindowFixture, public ::testing::WithParamInterface<OpenRow> {};

TEST_P(OpenTable, Row) {
  const OpenRow& row = GetParam();
  const std::string path = File(row.file);
  // A folder is unreadable as a file even for root.
  if (std::string(row.name) == "Unreadable") std::filesystem::create_directory(path);
  else WriteBytes(path, row.bytes);
  Start();
  OpenFile(path);
  EXPECT_EQ(static_cast<int>(form_->Data().DataKind), row.kind);  // 1 job, 2 points, 3 codes
  EXPECT_EQ(form_->StatusText(1), QString::fromLatin1(row.total));
  if (row.kind == static_cast<int>(DataKind::Measure)) {
    EXPECT_TRUE(Control<LineView>("MeasText")->toPlainText().startsWith(QString::fromUtf8(row.firstShown)));
  } else {
    EXPECT_EQ(Control<QTableView>("StrGrid")->model()->index(0, 1).data().toString(), QString::fromUtf8(row.firstShown));
  }
  if (*row.notice != '\0') {
    ASSERT_FALSE(dialogs_.notices.empty());
    EXPECT_EQ(dialogs_.notices.back(), QString::fromLatin1(row.notice));
  } else {
    EXPECT_TRUE(dialogs_.notices.empty()) << dialogs_.notices.front().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Open, OpenTable,
    ::testing::Values(
        OpenRow{"ReceivedJob", "job.txt", "JOB     J1\r\nINST    X\r\nSTA     S1,1.5,\r\nXYZ     1,2,3\r\nBKB     S2,0,0\r\n",
                1, "Total: 2", "JOB     J1", ""},
        OpenRow{"WorkFile", "w.wkj", "JOB     W\r\nINST    X\r\nSC      P1,1.0,C\r\nENZ     1,2,3\r\n", 1, "Total: 1",
                "JOB     W\nINST    X\nSC      P1", ""},
        // A GBK name shows as Chinese characters.
        OpenRow{"CassWithChineseName", "c.dat", "\xB5\xE3\x31,T1,10.5,20.5,3.0\r\nP2,,1,2,3\r\n", 2, "Total: 2", "点1", ""},
        OpenRow{"Gts7Coordinates", "g.txt", "P1,10.5000,20.5000,3.0000,T1\r\n", 2, "Total: 1", "P1", ""},
        OpenRow{"CodeList", "codes.txt", "CURB\r\nTREE\r\nWALL\r\n", 3, "Total: 3", "CURB", ""},
        OpenRow{"BinaryMea", "Site.MEA", "\x01" + MeaRecord(1, "ST1", 2000, 1000, 50), 1, "Total: 1", "JOB     Site", ""},
        OpenRow{"BinaryPts", "p.pts", Pts("A1", "WALL", 100, 200, 5) + Pts("A2", "", 1, 2, 3), 2, "Total: 2", "A1", ""},
        // The last 48-byte record is cut short; as 56-byte records the job makes no sense.
        OpenRow{"CutShortMea", "cut.mea",
                "\x01" + MeaRecord(1, "ST1", 2000, 1000, 50) + MeaRecord(8, "P1", 1, 2, 3) + MeaRecord(8, "P2", 1, 2, 3).substr(0, 20),
                1, "Total: 0", "", "file is cut short: its last record is incomplete"},
        OpenRow{"EmptyFile", "empty.txt", "", 1, "Total: 0", "", "file is empty"},
        OpenRow{"Unreadable", "locked.txt", "P1,,1,2,3\r\n", 1, "Total: 0", "", "unable to open file"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every filter of every mode writes a file; an existing target is replaced only on OK.
TEST_F(WindowFixture, SaveInEveryFilterOfEachModeWithTheReplaceQuestion) {
  WriteBytes(File("job.wkj"), "JOB     J1\r\nINST    X\r\nSTA     S1,1.5,\r\nXYZ     1,2,3\r\nSC      P1,1.0,C\r\nHVD     87530,318650,25.1230\r\nENZ     1,2,3\r\n");
  WriteBytes(File("pts.dat"), "P1,T1,10.5,20.5,3.0\r\n");
  WriteBytes(File("codes.txt"), "CURB\r\n");
  WriteIni("[Setting]\r\nCoordinateSystem=EPSG:4547\r\n");  // for GeoJSON and KML
  Start();
  const auto filters = [](DataKind kind) {
    const auto formats = SaveFormats();
    return static_cast<int>(std::count_if(formats.begin(), formats.end(), [kind](const SaveFormat& f) { return f.Kind == kind; }));
  };
  struct Mode { const char* file; int filters; const char* firstFilter; };
  for (const Mode& mode : {Mode{"job.wkj", filters(DataKind::Measure), "Comma separator measured file(*.csv)"},
                           Mode{"pts.dat", filters(DataKind::Coord), "CASS coordinate file(*.dat)"},
                           Mode{"codes.txt", 2, "Code file(*.txt)"}}) {
    OpenFile(File(mode.file));
    for (int index = 1; index <= mode.filters; ++index) {
      const std::string target = File(std::string(mode.file) + "." + std::to_string(index) + ".gt7");
      ChooseFile(target, index);
      Click("SaveBtn");
      EXPECT_TRUE(dialogs_.notices.empty()) << mode.file << " filter " << index;
      EXPECT_EQ(dialogs_.filters.back().rfind(mode.firstFilter, 0), 0u);
      EXPECT_FALSE(ReadBytes(target).empty()) << mode.file << " filter " << index;
    }
  }
  EXPECT_TRUE(dialogs_.questions.empty());
  // The code list again over the first code file: Cancel keeps it, OK replaces it.
  const std::string target = File("codes.txt.1.gt7");
  WriteBytes(target, "OLD\r\n");
  ChooseFile(target, 1);
  dialogs_.answers.push_back(false);
  Click("SaveBtn");
  EXPECT_EQ(ReadBytes(target), "OLD\r\n");
  ChooseFile(target, 1);
  dialogs_.answers.push_back(true);
  Click("SaveBtn");
  EXPECT_EQ(ReadBytes(target), "CURB\r\n");
  EXPECT_EQ(form_->StatusText(0), QStringLiteral("Saved 1 code to ") + QString::fromStdString(target));
  ASSERT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(dialogs_.questions[0], QStringLiteral("Are you sure you want to replace the current file?"));
}

// LandXML and KML saved from the window read back with an XML parser: the CgPoints hold the
// grid's names (GBK decoded) and coordinates, the placemarks one per point.
TEST_F(WindowFixture, LandXmlAndKmlReadBackWithAnXmlParser) {
  WriteBytes(File("pts.dat"), "BM1,STN,523456.789,3380123.456,21.5\r\n\xb1\xb1\xbe\xa9,A&<,523500.12,3380200.34,22.01\r\n");
  WriteIni("[Setting]\r\nCoordinateSystem=EPSG:4547\r\n");
  Start();
  OpenFile(File("pts.dat"));
  const auto filterOf = [](const char* name) {
    int index = 0;
    for (const SaveFormat& f : SaveFormats()) {
      if (f.Kind != DataKind::Coord) continue;
      ++index;
      if (f.Name == name) return index;
    }
    return 0;
  };
  ChooseFile(File("p.xml"), filterOf("landxml"));
  Click("SaveBtn");
  ChooseFile(File("p.kml"), filterOf("kml"));
  Click("SaveBtn");
  ASSERT_TRUE(dialogs_.notices.empty());

  QXmlStreamReader landXml(QByteArray::fromStdString(ReadBytes(File("p.xml"))));
  QStringList points;
  while (!landXml.atEnd()) {
    if (landXml.readNext() != QXmlStreamReader::StartElement || landXml.name() != QStringLiteral("CgPoint")) continue;
    const QString name = landXml.attributes().value(QStringLiteral("name")).toString();
    const QString desc = landXml.attributes().value(QStringLiteral("desc")).toString();
    points << name + QLatin1Char('|') + desc + QLatin1Char('|') + landXml.readElementText();
  }
  EXPECT_FALSE(landXml.hasError()) << landXml.errorString().toStdString();
  EXPECT_EQ(points, (QStringList{QStringLiteral("BM1|STN|3380123.4560 523456.7890 21.5000"),
                                 QStringLiteral("北京|A&<|3380200.3400 523500.1200 22.0100")}));

  QXmlStreamReader kml(QByteArray::fromStdString(ReadBytes(File("p.kml"))));
  int placemarks = 0;
  while (!kml.atEnd())
    if (kml.readNext() == QXmlStreamReader::StartElement && kml.name() == QStringLiteral("Placemark")) ++placemarks;
  EXPECT_FALSE(kml.hasError()) << kml.errorString().toStdString();
  EXPECT_EQ(placemarks, 2);
}

// For its life, this process may write file but make no new file in folder (top is the
// fixture's folder above it). Root may make files anywhere, so it acts as another user who
// owns the file.
class NoNewFilesIn {
 public:
  NoNewFilesIn(const std::string& top, const std::string& folder, const std::string& file) : folder_(folder) {
    if (::geteuid() != 0) {
      ::chmod(folder_.c_str(), 0555);
      return;
    }
    constexpr uid_t kNobody = 65534;
    ::chmod(top.c_str(), 0755);
    switched_ = ::chown(file.c_str(), kNobody, kNobody) == 0 && ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    EXPECT_TRUE(switched_) << "cannot act as another user";
  }
  ~NoNewFilesIn() {
    if (!switched_) {
      ::chmod(folder_.c_str(), 0755);
      return;
    }
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
  }
  NoNewFilesIn(const NoNewFilesIn&) = delete;
  NoNewFilesIn& operator=(const NoNewFilesIn&) = delete;

 private:
  std::string folder_;
  bool switched_ = false;
};

TEST_F(WindowFixture, SaveIntoAFolderThatTakesNoNewFileWarnsThatTheWriteWasNotAtomic) {
  WriteBytes(File("codes.txt"), "CURB\r\n");
  const std::string folder = File("locked");
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/out.txt";
  WriteBytes(target, "OLD\r\n");
  Start();
  OpenFile(File("codes.txt"));
  ChooseFile(target, 1);
  dialogs_.answers.push_back(true);
  {
    NoNewFilesIn guard(dir_, folder, target);
    Click("SaveBtn");
  }
  EXPECT_EQ(ReadBytes(target), "CURB\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
  ASSERT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_EQ(dialogs_.notices[0], QStringLiteral("The file was written in place, as its folder allows no new file; the write "
                                                "was not atomic.\n") + QString::fromStdString(target));
}

TEST_F(WindowFixture, SaveWithNothingLoadedAndSaveOfTheHelpText) {
  WriteHelp();
  Start();
  Click("SaveBtn");
  ASSERT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_EQ(dialogs_.notices[0], QStringLiteral("No data to save."));
  Click("HelpBtn");
  ChooseFile(File("help.txt"));
  Click("SaveBtn");
  EXPECT_EQ(dialogs_.filters.back(), "*.txt|*.txt");
  EXPECT_EQ(ReadBytes(File("help.txt")), "English help\r\nline two\r\n");
}

TEST_F(WindowFixture, FileOnTheCommandLineOpensAfterTheStartHelp) {
  WriteHelp();
  WriteBytes(File("pts.dat"), "P1,T1,10.5,20.5,3.0\r\n");
  TForm1& form = Start();
  form.OpenAfterStart(File("pts.dat"));
  form.show();
  QTRY_COMPARE(form.Data().DataKind, DataKind::Coord);
  EXPECT_EQ(form.StatusText(1), QStringLiteral("Total: 1"));
}

TEST_F(WindowFixture, DialogsStartInTheFolderLastUsedAndADroppedFileOpens) {
  std::filesystem::create_directory(File("jobs"));
  WriteBytes(File("jobs/pts.dat"), "P1,T1,10.5,20.5,3.0\r\n");
  WriteBytes(File("codes.txt"), "CURB\r\n");
  Start();
  OpenFile(File("jobs/pts.dat"));
  ChooseFile(File("jobs/out.dat"));
  Click("SaveBtn");
  ASSERT_EQ(dialogs_.folders.size(), 2u);
  EXPECT_EQ(dialogs_.folders[0], QString());
  EXPECT_EQ(dialogs_.folders[1], QString::fromStdString(File("jobs")));

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(File("codes.txt")))});
  EXPECT_TRUE(form_->OpenDropped(mime));
  WaitForFileWork();
  EXPECT_EQ(form_->Data().DataKind, DataKind::Code);
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 1"));
}

TEST_F(WindowFixture, TheJobViewCopiesTheSelectedLinesInTheirOrder) {
  WriteBytes(File("job.wkj"), "JOB     J1\r\nINST    X\r\nSTA     S1,1.5,\r\nXYZ     1,2,3\r\n");
  Start();
  OpenFile(File("job.wkj"));
  auto* view = Control<LineView>("MeasText");
  view->setCurrentIndex(view->model()->index(3, 0));
  QTest::keyClick(view, Qt::Key_Up, Qt::ShiftModifier);
  view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keySequence(view, QKeySequence::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "JOB     J1\nSTA     S1,1.5000,\nXYZ     1.0000,2.0000,3.0000");
}

// Holds the window's file work at its first progress report until released, so that a
// test acts while the work is parked on its thread.
class WorkGate {
 public:
  explicit WorkGate(BackgroundTask& tasks) : tasks_(tasks) {
    tasks.OnReport = [this](std::uint64_t, std::uint64_t) {
      std::unique_lock lock(mutex_);
      worker_ = std::this_thread::get_id();
      if (parked_) return;
      parked_ = true;
      // Bounded, so that work run on the window's thread fails the test instead of hanging it.
      released_.wait_for(lock, std::chrono::seconds(30), [this] { return open_; });
    };
  }
  ~WorkGate() {
    Release();
    tasks_.Abandon();  // a failed test may leave the work running
    tasks_.OnReport = nullptr;
  }
  WorkGate(const WorkGate&) = delete;
  WorkGate& operator=(const WorkGate&) = delete;

  bool Parked() {
    const std::lock_guard lock(mutex_);
    return parked_;
  }
  std::thread::id Worker() {
    const std::lock_guard lock(mutex_);
    return worker_;
  }
  void Release() {
    {
      const std::lock_guard lock(mutex_);
      open_ = true;
    }
    released_.notify_all();
  }

 private:
  BackgroundTask& tasks_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool parked_ = false, open_ = false;
  std::thread::id worker_;
};

class FileWorkTest : public WindowFixture {
 protected:
  // Clicks a button without waiting for the work it starts.
  void Press(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  // With the work parked at the gate: the progress dialog shows, the window takes no input
  // meanwhile (Code would enter the grid editor), and Cancel is clicked.
  void CancelWhileParked(WorkGate& gate) {
    QTRY_VERIFY(gate.Parked());
    QDialog* progress = nullptr;
    QTRY_VERIFY((progress = form_->findChild<QDialog*>(QStringLiteral("ProgressDialog"))) != nullptr &&
                progress->isVisible());
    QTest::mouseClick(Control("CodeBtn"), Qt::LeftButton);
    EXPECT_FALSE(form_->GridEditing()) << "the window took input while the work ran";
    QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    gate.Release();
    WaitForFileWork();
    EXPECT_NE(gate.Worker(), std::this_thread::get_id()) << "the work ran on the window's thread";
    EXPECT_EQ(form_->findChild<QDialog*>(QStringLiteral("ProgressDialog")), nullptr);
  }
};

TEST_F(FileWorkTest, OpenRunsOffTheWindowThreadAndCancelKeepsTheOldDataAndViews) {
  WriteBytes(File("codes.txt"), "CURB\r\n");
  WriteBytes(File("job.wkj"), "JOB     J1\r\nINST    X\r\nSTA     S1,1.5,\r\nXYZ     1,2,3\r\n");
  Start();
  OpenFile(File("codes.txt"));
  WorkGate gate(form_->Tasks());
  ChooseFile(File("job.wkj"));
  Press("OpenBtn");
  CancelWhileParked(gate);
  EXPECT_EQ(form_->Data().DataKind, DataKind::Code);
  ASSERT_EQ(form_->Data().CodeList.size(), 1u);
  EXPECT_TRUE(form_->Data().MeasurementList.empty());
  EXPECT_FALSE(Grid()->isHidden());
  EXPECT_EQ(GridText(1, 1), QStringLiteral("CURB"));
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 1"));
  EXPECT_TRUE(dialogs_.notices.empty());
}

TEST_F(FileWorkTest, SaveCancelledKeepsTheOldFileAndLeavesNoTemporaryFile) {
  WriteBytes(File("codes.txt"), "CURB\r\nTREE\r\n");
  const std::string folder = File("out");
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/codes.txt";
  WriteBytes(target, "OLD\r\n");
  Start();
  OpenFile(File("codes.txt"));
  WorkGate gate(form_->Tasks());
  ChooseFile(target);
  dialogs_.answers.push_back(true);  // replace
  Press("SaveBtn");
  QTRY_VERIFY(gate.Parked());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2) << "the new file is written aside";
  CancelWhileParked(gate);
  EXPECT_EQ(ReadBytes(target), "OLD\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
  EXPECT_TRUE(dialogs_.notices.empty());
}

}  // namespace
}  // namespace theolink::test
