// The grid editor on page 1, typed into with the keyboard: the cell checks, the row
// operations, Return's write-back and character check, units and order, a pasted block,
// and Edit, Return, Save against golden files.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTimer>

#include "window/grid_model.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

class GridEditorTest : public WindowFixture {
 protected:
  // An empty coordinate grid in the editor (Coord on an empty job).
  void StartEmptyCoordEditor(const std::string& ini = "") {
    if (!ini.empty()) WriteIni(ini);
    Start();
    Click("CoordBtn");
    ASSERT_EQ(Page(), 1);
  }
  int Page() { return Control<QStackedWidget>("PageControl1")->currentIndex(); }
  // Boxes a keystroke raises show once its event has returned.
  QString Notice(std::size_t i) {
    QCoreApplication::processEvents();
    return i < dialogs_.notices.size() ? dialogs_.notices[i] : QString();
  }
  std::pair<int, int> Current() { return {Grid()->currentIndex().row() + 1, Grid()->currentIndex().column()}; }
};

TEST_F(GridEditorTest, EveryKeystrokeIsCheckedAndARefusedKeyLeavesTheCellAsItWas) {
  StartEmptyCoordEditor();
  // A negative number typed sign first: the lone sign is accepted but changes nothing yet.
  TypeIntoCell(1, 2, QStringLiteral("-"));
  EXPECT_FALSE(form_->Grid().GridModified());
  TypeIntoCell(1, 2, QStringLiteral("99999999.9999"));
  EXPECT_EQ(GridText(1, 2), QStringLiteral("-99999999.9999"));
  EXPECT_TRUE(form_->Grid().GridModified());
  EXPECT_TRUE(dialogs_.notices.empty());
  // Sign last: the digits, then Home and the sign.
  TypeIntoCell(1, 4, QStringLiteral("12.5"));
  QTest::keyClick(CellEditor(), Qt::Key_Home);
  QTest::keyClick(CellEditor(), Qt::Key_Minus);
  EXPECT_EQ(GridText(1, 4), QStringLiteral("-12.5"));
  TypeIntoCell(1, 3, QStringLiteral("99999999.9999"));
  EXPECT_TRUE(dialogs_.notices.empty());
  auto* editor = qobject_cast<QLineEdit*>(CellEditor());
  QTest::keyClick(editor, Qt::Key_9);  // the fourteenth character of a positive number
  EXPECT_EQ(Notice(0), QStringLiteral("Too many data!"));
  EXPECT_EQ(GridText(1, 3), QStringLiteral("99999999.9999"));
  EXPECT_EQ(editor->text(), QStringLiteral("99999999.9999"));
  EXPECT_EQ(editor->cursorPosition(), 13);
  // A refused key in front: the cursor stays where the key went.
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_X);
  EXPECT_EQ(Notice(1), QStringLiteral("Illegal data type!"));
  EXPECT_EQ(editor->text(), QStringLiteral("99999999.9999"));
  EXPECT_EQ(editor->cursorPosition(), 0);
  QTest::keyClick(editor, Qt::Key_9);
  EXPECT_EQ(Notice(2), QStringLiteral("Oversize or Undersize!"));
  EXPECT_EQ(GridText(1, 3), QStringLiteral("99999999.9999"));
  TypeIntoCell(1, 1, QStringLiteral("ABCDEFGH"));
  EXPECT_EQ(dialogs_.notices.size(), 3u);
  QTest::keyClick(CellEditor(), Qt::Key_I);  // the ninth character of a name
  EXPECT_EQ(Notice(3), QStringLiteral("Too many char!"));
  EXPECT_EQ(GridText(1, 1), QStringLiteral("ABCDEFGH"));
  EXPECT_EQ(dialogs_.notices.size(), 4u);
}

// A real box runs an event loop of its own: the cell editor whose keystroke raised it must
// come through it and go on taking keys, in every column of both grids.
TEST_F(GridEditorTest, RealBoxesForRefusedKeysLeaveTheEditorWorking) {
  QtDialogs boxes;
  realDialogs_ = &boxes;
  WriteHelp();
  StartEmptyCoordEditor();
  boxes.SetParent(form_.get());
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->StartHelpShown());
  QCoreApplication::processEvents();
  Grid()->setFocus();
  int answered = 0;
  QTimer okPresser;
  QObject::connect(&okPresser, &QTimer::timeout, [&answered] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      ++answered;
      QTest::keyClick(box, Qt::Key_Return);
    }
  });
  okPresser.start(10);
  const struct {
    int column;
    const char* typed;
  } rows[] = {{1, "ABCDEFGHI"}, {2, "1x"}, {3, "100000000"}, {4, "99999999.99999"}, {5, "ABCDEFGHI"}};
  for (bool codes : {false, true}) {
    if (codes) {
      Click("OKBtn");
      Click("CodeBtn");
    }
    for (const auto& row : rows) {
      if (codes && row.column != 1) continue;
      SCOPED_TRACE(row.typed);
      const QString typed = QString::fromLatin1(row.typed), kept = typed.chopped(1);
      const int before = answered;
      TypeIntoCell(1, row.column, typed);
      QTRY_COMPARE(answered, before + 1);
      QTRY_VERIFY(CellEditor() != nullptr);
      // The editor is back with what the cell kept, the cursor after it: the same key again.
      auto* editor = qobject_cast<QLineEdit*>(CellEditor());
      EXPECT_EQ(editor->text(), kept);
      EXPECT_EQ(editor->cursorPosition(), kept.size());
      EXPECT_FALSE(editor->hasSelectedText());
      QTest::keyClick(editor, typed.back().toLatin1());
      QTRY_COMPARE(answered, before + 2);
      QTRY_VERIFY(CellEditor() != nullptr);
      EXPECT_EQ(GridText(1, row.column), kept);
      QTest::keyClick(CellEditor(), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(CellEditor(), Qt::Key_7);
      EXPECT_EQ(GridText(1, row.column), QStringLiteral("7"));
      QTest::keyClick(CellEditor(), Qt::Key_Backspace);
    }
  }
  // The typed and emptied cells count as a change: the close asks, Return answers Yes.
  const int beforeClose = answered;
  form_->close();
  EXPECT_EQ(answered, beforeClose + 1);
  EXPECT_FALSE(form_->isVisible());
}

TEST_F(GridEditorTest, ReturnRefusesALoneSignAndABadCoordinateKeepingTheEditorAndThePoints) {
  WriteBytes(File("pts.dat"), "P1,T1,10.12345,20.54321,3.0\r\nP2,,1,2,3\r\n");
  Start();
  OpenFile(File("pts.dat"));
  Click("CoordBtn");
  Click("OKBtn");  // nothing changed: the list is not rebuilt from the four-decimal cells
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(form_->Data().PointList[0].North, 20.54321);
  Click("CoordBtn");
  Click("AppendBtn");
  TypeRow(3, {QStringLiteral("P3"), QStringLiteral("-"), QStringLiteral("5"), QStringLiteral("6")});
  Click("OKBtn");
  EXPECT_EQ(Notice(0), QStringLiteral("Wrong coordinate format in grid."));
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(Current(), std::make_pair(3, 2));
  ASSERT_EQ(form_->Data().PointList.size(), 2u);
  EXPECT_EQ(form_->Data().PointList[0].North, 20.54321);
  TypeIntoCell(3, 2, QStringLiteral("-4"));
  Click("OKBtn");
  EXPECT_EQ(Page(), 0);
  ASSERT_EQ(form_->Data().PointList.size(), 3u);
  EXPECT_EQ(form_->Data().PointList[2].North, -4.0);
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 3"));
}

TEST_F(GridEditorTest, IllegalCharactersAtReturnMakeTheirCellCurrent) {
  StartEmptyCoordEditor();
  TypeRow(1, {QStringLiteral("A B"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  Click("AppendBtn");
  TypeRow(2, {QStringLiteral("P2"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
              QString::fromUtf8("C\u70B9")});
  Click("OKBtn");
  EXPECT_EQ(Notice(0), QStringLiteral("The inputs contain illegal character type."));
  EXPECT_EQ(Current(), std::make_pair(1, 1));
  EXPECT_EQ(Page(), 1);
  TypeIntoCell(1, 1, QStringLiteral("AB"));  // the first key replaces the cell's text
  EXPECT_EQ(GridText(1, 1), QStringLiteral("AB"));
  Click("OKBtn");
  EXPECT_EQ(Notice(1), QStringLiteral("The inputs contain illegal character type."));
  EXPECT_EQ(Current(), std::make_pair(2, 5));
  EXPECT_EQ(form_->Data().PointList.size(), 2u);  // written back before the check
}

TEST_F(GridEditorTest, DeleteAppendAndInsertKeepTheRowNumbersConsecutive) {
  StartEmptyCoordEditor();
  TypeIntoCell(1, 1, QStringLiteral("P1"));
  dialogs_.answers = {false, true};
  Click("DelBtn");  // No
  EXPECT_EQ(GridText(1, 1), QStringLiteral("P1"));
  Click("DelBtn");  // the only row: emptied, number included
  EXPECT_EQ(dialogs_.questions.back(), QStringLiteral("Are you sure you want to delete the data?"));
  EXPECT_EQ(GridText(1, 0), QString());
  EXPECT_EQ(GridText(1, 1), QString());
  Click("AppendBtn");
  EXPECT_EQ(GridText(1, 0), QStringLiteral("#1"));
  EXPECT_EQ(GridText(2, 0), QStringLiteral("#2"));
  Click("AppendBtn");
  for (int r = 1; r <= 3; ++r) TypeIntoCell(r, 1, QStringLiteral("N%1").arg(r));
  Grid()->setCurrentIndex(Grid()->model()->index(1, 1));
  dialogs_.answers = {true};
  Click("DelBtn");  // the middle row
  EXPECT_EQ(GridText(2, 1), QStringLiteral("N3"));
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 2"));
  Click("AppendBtn");
  Grid()->setCurrentIndex(Grid()->model()->index(0, 1));
  Click("InsertBtn");
  EXPECT_EQ(Current(), std::make_pair(1, 1));
  EXPECT_EQ(GridText(2, 1), QStringLiteral("N1"));
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(GridText(r, 0), QStringLiteral("#%1").arg(r));
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 4"));
  // Drawing: labels, codes and headers centred, names and numbers to the right.
  const auto align = [this](int column) {
    return Grid()->model()->index(0, column).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask;
  };
  EXPECT_EQ(align(0), Qt::AlignHCenter);
  EXPECT_EQ(align(1), Qt::AlignRight);
  EXPECT_EQ(align(4), Qt::AlignRight);
  EXPECT_EQ(align(5), Qt::AlignHCenter);
  EXPECT_EQ(Grid()->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
}

TEST_F(GridEditorTest, EnzOrderAndUsSurveyFeetAreStoredInMetres) {
  StartEmptyCoordEditor("[Setting]\r\nLengthUnit=1\r\nCoordOrder=1\r\n");
  EXPECT_EQ(Grid()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("East coordinates\n[US ft]"));
  TypeRow(1, {QStringLiteral("P1"), QStringLiteral("1000"), QStringLiteral("3280.8333"), QStringLiteral("10")});
  Click("OKBtn");
  ASSERT_EQ(form_->Data().PointList.size(), 1u);
  const PointRecord& p = form_->Data().PointList[0];
  EXPECT_DOUBLE_EQ(p.East, 1000 * 0.30480060960121924975);
  EXPECT_NEAR(p.North, 1000.0, 1e-4);
  EXPECT_EQ(GridText(1, 3), QStringLiteral("3280.8333"));
}

TEST_F(GridEditorTest, TabEnterDeleteAndAPastedBlock) {
  StartEmptyCoordEditor();
  TypeIntoCell(1, 1, QStringLiteral("A"));
  QTest::keyClick(CellEditor(), Qt::Key_Tab);
  EXPECT_EQ(Current(), std::make_pair(1, 2));
  TypeIntoCell(1, 2, QStringLiteral("1"));
  QTest::keyClick(CellEditor(), Qt::Key_Return);
  EXPECT_EQ(Current(), std::make_pair(1, 3));
  QTest::keyClick(CellEditor(), Qt::Key_Escape);
  QTest::keyClick(Grid(), Qt::Key_Return);  // without an open editor too
  EXPECT_EQ(Current(), std::make_pair(1, 4));
  // A block from a spreadsheet, from row 1 column 1: the bad cell is refused, rows added.
  QApplication::clipboard()->setText(QStringLiteral("P1\t1\t2\t3\tC1\nP2\t4\tx\t6\r\nP3\t7\t8\t9\tC3\textra\n"));
  Grid()->setCurrentIndex(Grid()->model()->index(0, 1));
  QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
  QCoreApplication::processEvents();
  ASSERT_EQ(Grid()->model()->rowCount(), 3);
  EXPECT_EQ(dialogs_.notices, std::vector<QString>{QStringLiteral("Illegal data type!")});
  EXPECT_EQ(GridText(3, 5), QStringLiteral("C3"));
  EXPECT_EQ(GridText(2, 3), QString());
  EXPECT_EQ(GridText(3, 0), QStringLiteral("#3"));
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 3"));
  QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier);  // the whole block is one step
  EXPECT_EQ(Grid()->model()->rowCount(), 1);
  EXPECT_EQ(GridText(1, 1), QStringLiteral("A"));
  QTest::keyClick(Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(GridText(3, 5), QStringLiteral("C3"));
  // Delete empties the selected cells.
  Grid()->selectionModel()->select(QItemSelection(Grid()->model()->index(0, 2), Grid()->model()->index(1, 4)),
                                   QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(Grid(), Qt::Key_Delete);
  EXPECT_EQ(GridText(1, 2), QString());
  EXPECT_EQ(GridText(2, 4), QString());
  EXPECT_EQ(GridText(1, 1), QStringLiteral("P1"));
}

// A surveyor's keys over a loaded list: undo and redo of typing and of row operations,
// duplicate names marked, Delete over whole rows, copy out, the find box, and the question
// before unsaved edits are left.
TEST_F(GridEditorTest, UndoCopyFindAndTheQuestionBeforeEditsAreLost) {
  WriteBytes(File("pts.dat"), "P1,T1,10,20,3\r\nP2,,1,2,3\r\nP3,,4,5,6\r\n");
  WriteHelp();
  Start();
  form_->show();
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->StartHelpShown());
  OpenFile(File("pts.dat"));
  Click("CoordBtn");
  ASSERT_EQ(Page(), 1);
  const auto index = [this](int row, int column) { return Grid()->model()->index(row - 1, column); };
  const auto key = [this](Qt::Key k, Qt::KeyboardModifiers mods) {
    QTest::keyClick(CellEditor() != nullptr ? CellEditor() : static_cast<QWidget*>(Grid()), k, mods);
  };

  TypeIntoCell(2, 1, QStringLiteral("Q9"));
  key(Qt::Key_Z, Qt::ControlModifier);  // in the open editor: the cell's keystrokes are one step
  EXPECT_EQ(GridText(2, 1), QStringLiteral("P2"));
  EXPECT_FALSE(form_->Grid().GridModified());
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(GridText(2, 1), QStringLiteral("Q9"));
  EXPECT_TRUE(form_->Grid().GridModified());

  TypeIntoCell(3, 1, QStringLiteral("P1"));
  QTest::keyClick(CellEditor(), Qt::Key_Return);
  EXPECT_EQ(index(1, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Duplicate name"));
  EXPECT_EQ(index(3, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Duplicate name"));
  EXPECT_FALSE(index(2, 1).data(Qt::ToolTipRole).isValid());

  Click("AppendBtn");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Grid()->model()->rowCount(), 3);
  EXPECT_EQ(form_->StatusText(1), QStringLiteral("Total: 3"));
  Grid()->setCurrentIndex(index(2, 1));
  Click("InsertBtn");
  ASSERT_EQ(Grid()->model()->rowCount(), 4);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Grid()->model()->rowCount(), 3);
  EXPECT_EQ(GridText(2, 1), QStringLiteral("Q9"));
  Grid()->setCurrentIndex(index(1, 1));
  dialogs_.answers = {true};
  Click("DelBtn");
  EXPECT_EQ(GridText(1, 1), QStringLiteral("Q9"));
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(GridText(1, 1), QStringLiteral("P1"));
  EXPECT_EQ(GridText(2, 0), QStringLiteral("#2"));
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(GridText(1, 1), QStringLiteral("Q9"));
  key(Qt::Key_Z, Qt::ControlModifier);
  // A click on a row label selects the row; Delete removes it without a question.
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualRect(index(2, 0)).center());
  QTest::keyClick(Grid(), Qt::Key_Delete);
  EXPECT_EQ(Grid()->model()->rowCount(), 2);
  EXPECT_EQ(GridText(2, 1), QStringLiteral("P1"));
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(GridText(2, 1), QStringLiteral("Q9"));

  Grid()->selectionModel()->select(QItemSelection(index(1, 1), index(2, 2)), QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("P1\t20.0000\nQ9\t2.0000"));

  Grid()->setCurrentIndex(index(1, 1));
  QTest::keyClick(Grid(), Qt::Key_F, Qt::ControlModifier);
  auto* find = Control<QLineEdit>("FindBox");
  ASSERT_TRUE(find->isVisible());
  EXPECT_TRUE(find->hasFocus());
  QTest::keyClicks(find, QStringLiteral("p1"));
  QTest::keyClick(find, Qt::Key_Return);  // the next P1 below the current row
  EXPECT_EQ(Current(), std::make_pair(3, 1));
  EXPECT_TRUE(Grid()->selectionModel()->isRowSelected(2, {}));
  QTest::keyClick(find, Qt::Key_Return);  // round past the end
  EXPECT_EQ(Current(), std::make_pair(1, 1));
  find->clear();
  QTest::keyClicks(find, QStringLiteral("ZZ"));
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(form_->StatusText(0), QStringLiteral("No point named ZZ"));
  QTest::keyClick(find, Qt::Key_Escape);
  EXPECT_FALSE(find->isVisible());

  // Leaving asks first: No keeps the window and the grid; so does an open.
  dialogs_.answers = {false, false};
  form_->close();
  EXPECT_EQ(dialogs_.questions.back(), QStringLiteral("The grid holds changes that are not saved. Discard them?"));
  EXPECT_TRUE(form_->isVisible());
  form_->OpenPath(File("pts.dat"));
  EXPECT_FALSE(form_->FileWorkPending());
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(GridText(2, 1), QStringLiteral("Q9"));
  // Written back but saved to no file: the close still asks.
  Click("OKBtn");
  ASSERT_EQ(Page(), 0);
  dialogs_.answers = {false};
  form_->close();
  EXPECT_EQ(dialogs_.questions.back(), QStringLiteral("The edited data is not saved to a file. Discard the changes?"));
  EXPECT_TRUE(form_->isVisible());
  dialogs_.answers = {true};
  form_->close();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(dialogs_.answers.empty());
}

TEST_F(GridEditorTest, EmptiedCodeGridEmptiesTheCodeList) {
  WriteBytes(File("codes.txt"), "CURB\r\nTREE\r\n");
  Start();
  OpenFile(File("codes.txt"));
  Click("CodeBtn");
  dialogs_.answers = {true, true};
  Click("DelBtn");
  Click("DelBtn");
  Click("OKBtn");
  EXPECT_TRUE(form_->Data().CodeList.empty());
  EXPECT_EQ(Page(), 0);
}

// Points typed into the grid, Return, then saved in three coordinate formats.
TEST_F(GridEditorTest, TypedPointsSaveAsCassGts7AndDxf) {
  StartEmptyCoordEditor();
  TypeTwoPointsAndReturn();
  ASSERT_EQ(Page(), 0);
  ASSERT_TRUE(dialogs_.notices.empty());
  for (const auto& [filter, golden] : {std::pair{1, "typed.cass.dat"}, std::pair{5, "typed.gts7coord.txt"},
                                      std::pair{2, "typed.dxf"}}) {
    ChooseFile(File(golden), filter);
    Click("SaveBtn");
    EXPECT_EQ(ReadBytes(File(golden)), ReadBytes(std::string(THEOLINK_TEST_DATA) + "/window/" + golden)) << golden;
  }
}

}  // namespace
}  // namespace theolink::test
