// The settings dialog: choices take effect in the views at once; only Confirm writes.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QTableView>
#include <filesystem>

#include "app/ini_file.h"
#include "files/save_formats.h"
#include "window/settings_form.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

class SettingsDialogTest : public WindowFixture {
 protected:
  QString Cell(int row, int column) { return Control<QTableView>("StrGrid")->model()->index(row, column).data().toString(); }
  QString Header(int column) {
    return Control<QTableView>("StrGrid")->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  template <typename T>
  T* Dialog(const char* name) {
    T* w = form_->Form2().findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) ADD_FAILURE() << "no control " << name;
    return w;
  }
  void Choose(const char* box, int steps) {
    auto* b = Dialog<QComboBox>(box);
    b->setFocus();
    for (int i = 0; i < steps; ++i) QTest::keyClick(b, Qt::Key_Down);
  }
  void TypeGridScale(const char* text) {
    auto* edit = Dialog<QLineEdit>("GridScaleEdit");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }
};

TEST_F(SettingsDialogTest, UnitsAndOrderFollowAtOnceCloseBoxKeepsTheFileConfirmWritesIt) {
  WriteBytes(File("pts.dat"), "P1,T1,10.5,20.5,3.0\r\n");
  Start();
  OpenFile(File("pts.dat"));
  EXPECT_EQ(Cell(0, 2), QStringLiteral("20.5000"));
  Click("SettingBtn");
  EXPECT_FALSE(form_->isEnabled());
  EXPECT_TRUE(form_->Form2().isVisible());
  EXPECT_EQ(Dialog<QComboBox>("AngUnitCBB")->itemText(1), QStringLiteral("GOM"));

  Choose("DistUnitCBB", 1);  // US survey feet
  EXPECT_EQ(Cell(0, 2), QStringLiteral("67.2571"));
  Choose("CoordOrderCBB", 1);  // ENZ
  EXPECT_EQ(Header(2), QStringLiteral("East coordinates\n[US ft]"));  // the unit follows too
  EXPECT_EQ(Cell(0, 2), QStringLiteral("34.4487"));

  form_->Form2().close();  // the close box
  EXPECT_TRUE(form_->isEnabled());
  EXPECT_EQ(Cell(0, 2), QStringLiteral("34.4487"));
  EXPECT_FALSE(IniFile::Load(Ini()).ReadString("Setting", "LengthUnit").has_value());

  // Not a number at all: refused like an out-of-range value, nothing written.
  Click("SettingBtn");
  TypeGridScale("abc");
  QTest::mouseClick(Dialog<QPushButton>("Confirm"), Qt::LeftButton);
  ASSERT_FALSE(dialogs_.notices.empty());
  EXPECT_EQ(dialogs_.notices.back(), QStringLiteral("Please input the number between 0.9 and 1.1."));
  EXPECT_EQ(Dialog<QLineEdit>("GridScaleEdit")->text(), QStringLiteral("1.00"));
  EXPECT_FALSE(IniFile::Load(Ini()).ReadString("Setting", "AngleUnit").has_value());

  // A seventh decimal is refused, not rounded; six are kept as typed.
  TypeGridScale("1.0000001");
  QTest::mouseClick(Dialog<QPushButton>("Confirm"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.notices.back(), QStringLiteral("The grid scale keeps at most six decimals (for example 0.9996 or 1.000123)."));
  EXPECT_TRUE(form_->Form2().isVisible());
  TypeGridScale("1.005");
  QTest::mouseClick(Dialog<QPushButton>("Confirm"), Qt::LeftButton);
  EXPECT_FALSE(form_->Form2().isVisible());
  const IniFile ini = IniFile::Load(Ini());
  EXPECT_EQ(ini.ReadInteger("Setting", "LengthUnit", -1), 1);
  EXPECT_EQ(ini.ReadInteger("Setting", "CoordOrder", -1), 1);
  EXPECT_EQ(ini.ReadString("Setting", "GridScale"), "1.005");
  EXPECT_EQ(form_->StatusText(2), QStringLiteral("Current Unit: DMS, US-Ft"));

  // Reset brings the defaults into the views; the close box leaves the file as it was.
  Click("SettingBtn");
  QTest::mouseClick(Dialog<QPushButton>("Reset"), Qt::LeftButton);
  EXPECT_EQ(Cell(0, 2), QStringLiteral("20.5000"));
  form_->Form2().close();
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Setting", "LengthUnit", -1), 1);
  EXPECT_EQ(form_->CurrentSettings().DistanceUnit, 0);
}

TEST_F(SettingsDialogTest, ComputeShotsIsWrittenOnConfirmAndCoordThenHoldsTheReducedShots) {
  Start();
  Click("SettingBtn");
  auto* check = Dialog<QCheckBox>("ComputeShotsCHK");
  check->setFocus();
  QTest::keyClick(check, Qt::Key_Space);
  QTest::mouseClick(Dialog<QPushButton>("Confirm"), Qt::LeftButton);
  EXPECT_EQ(IniFile::Load(Ini()).ReadInteger("Setting", "ComputeShots", -1), 1);

  OpenFile(std::string(THEOLINK_TEST_DATA) + "/../../samples/sample.wkj");
  dialogs_.answers.push_back(true);  // the extraction question
  Click("CoordBtn");
  // The same points the independently computed export holds, one per line.
  const std::string expected = ReadBytes(std::string(THEOLINK_TEST_DATA) + "/export/sample.shots.m.cass.dat");
  EXPECT_EQ(form_->Data().PointList.size(), static_cast<std::size_t>(std::count(expected.begin(), expected.end(), '\n')));
}

TEST_F(SettingsDialogTest, OutOfRangeGridScaleOnLeavingTheEditReturnsToTheValueItOpenedWith) {
  WriteIni("[Setting]\r\nGridScale=1.1\r\n");
  Start();
  Click("SettingBtn");
  EXPECT_EQ(Dialog<QLineEdit>("GridScaleEdit")->text(), QStringLiteral("1.10"));
  TypeGridScale("2");
  form_->Form2().GridScaleEditExit();
  EXPECT_EQ(Dialog<QLineEdit>("GridScaleEdit")->text(), QStringLiteral("1.10"));
  // The box waits until the focus change that raised it is over.
  EXPECT_TRUE(dialogs_.notices.empty());
  QCoreApplication::processEvents();
  ASSERT_EQ(dialogs_.notices.size(), 1u);
}

TEST_F(SettingsDialogTest, AGridScaleInTheFileWithMoreThanSixDecimalsIsRefusedAndNamed) {
  WriteIni("[Setting]\r\nGridScale=0.99999999\r\n");
  Start();
  ASSERT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_EQ(dialogs_.notices.back(),
            QStringLiteral("The grid scale 0.99999999 in the settings file has more than six decimals; 1.00 is used."));
  Click("SettingBtn");
  EXPECT_EQ(Dialog<QLineEdit>("GridScaleEdit")->text(), QStringLiteral("1.00"));
}

TEST_F(SettingsDialogTest, ACoordinateSystemFoundByTypingIsKeptOnConfirmAndTakesGeoJsonToWgs84) {
  WriteBytes(File("pts.dat"), "P1,T1,523456.789,3380123.456,21.5\r\n");
  Start();
  OpenFile(File("pts.dat"));
  int geojson = 0;
  for (const SaveFormat& f : SaveFormats()) {
    if (f.Kind == DataKind::Coord) ++geojson;
    if (f.Kind == DataKind::Coord && f.Name == "geojson") break;
  }
  const std::string target = File("p.geojson");
  ChooseFile(target, geojson);
  Click("SaveBtn");
  ASSERT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_TRUE(dialogs_.notices.back().startsWith(QStringLiteral("GeoJSON and KML need the coordinate system")));
  EXPECT_FALSE(std::filesystem::exists(target));

  Click("SettingBtn");
  auto* box = Dialog<QComboBox>("CoordSystemCBB");
  EXPECT_EQ(box->accessibleName(), QStringLiteral("Coord System"));
  ASSERT_TRUE(QTest::qWaitFor([box] { return box->count() > 1000; }, 20000));  // read on its own thread
  box->lineEdit()->setFocus();
  QTest::keyClicks(box->lineEdit(), QStringLiteral("gauss-kruger cm 114e"));
  QAbstractItemView* found = box->completer()->popup();
  ASSERT_TRUE(QTest::qWaitFor([found] { return found->isVisible(); }, 5000));
  const QString first = box->completer()->completionModel()->index(0, 0).data().toString();
  EXPECT_TRUE(first.contains(QStringLiteral("Gauss-Kruger CM 114E"))) << first.toStdString();
  // Down to the 3-degree zone of CGCS2000, then Enter.
  for (int row = 0; row < box->completer()->completionCount(); ++row) {
    QTest::keyClick(found, Qt::Key_Down);
    if (found->currentIndex().data().toString().startsWith(QStringLiteral("EPSG:4547 "))) break;
  }
  QTest::keyClick(found, Qt::Key_Return);
  EXPECT_EQ(box->currentData().toString(), QStringLiteral("EPSG:4547"));
  EXPECT_EQ(form_->CurrentSettings().Crs, "EPSG:4547");
  QTest::mouseClick(Dialog<QPushButton>("Confirm"), Qt::LeftButton);
  EXPECT_EQ(IniFile::Load(Ini()).ReadString("Setting", "CoordinateSystem"), "EPSG:4547");

  ChooseFile(target, geojson);
  Click("SaveBtn");
  EXPECT_EQ(dialogs_.notices.size(), 1u);
  EXPECT_EQ(ReadBytes(target).rfind("{\"type\":\"FeatureCollection\",\"sourceCrs\":\"EPSG:4547\"", 0), 0u);
}

}  // namespace
}  // namespace theolink::test
