// The grid editor's rules without widgets: the check of a cell's text, undo and redo of
// every edit, the names held twice, the write-back of the rows and the character check at
// Return.
#include <gtest/gtest.h>

#include <functional>

#include "app/grid_cells.h"
#include "app/grid_editor.h"
#include "app/grid_history.h"
#include "app/grid_names.h"
#include "app/grid_write_back.h"

namespace theolink {
namespace {

struct CellRow {
  GridColumnKind kind;
  const char* text;
  bool accepted;
  bool modifies;
  std::optional<TextId> message;
};

TEST(GridCells, EveryChangeIsCheckedAgainstItsColumn) {
  const GridColumnKind N = GridColumnKind::Number, X = GridColumnKind::Text;
  for (const CellRow& r : {
           CellRow{N, "", true, true, std::nullopt},
           CellRow{N, "99999999.9999", true, true, std::nullopt},
           CellRow{N, "99999999.99999", false, false, TextId::TooManyData},
           CellRow{N, "-99999999.9999", true, true, std::nullopt},
           CellRow{N, "-99999999.99999", false, false, TextId::TooManyData},
           CellRow{N, "100000000", false, false, TextId::OversizeOrUndersize},
           CellRow{N, "-100000000", false, false, TextId::OversizeOrUndersize},
           CellRow{N, "12a", false, false, TextId::IllegalDataType},
           CellRow{N, "1,5", false, false, TextId::IllegalDataType},
           CellRow{N, "-", true, false, std::nullopt},
           CellRow{N, "+.", true, false, std::nullopt},
           CellRow{N, "-.", true, false, std::nullopt},
           CellRow{N, "--", false, false, TextId::IllegalDataType},
           CellRow{X, "ABCDEFGH", true, true, std::nullopt},
           CellRow{X, "ABCDEFGHI", false, false, TextId::TooManyChar},
           CellRow{X, "\xB5\xE3\xB5\xE3\xB5\xE3\xB5\xE3", true, true, std::nullopt},  // four GBK characters
       }) {
    const CellCheck c = CheckCellText(r.kind, r.text);
    EXPECT_EQ(c.accepted, r.accepted) << r.text;
    EXPECT_EQ(c.accepted && c.modifies, r.accepted && r.modifies) << r.text;
    EXPECT_EQ(c.message, r.message) << r.text;
  }
}

TEST(GridCells, PastedBlockSplitsOnLineEndsAndTabs) {
  const auto rows = SplitPastedBlock("A\t1\t2\r\nB\t\t3\nC\r\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"A", "1", "2"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"B", "", "3"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"C"}));
}

const GridRows kThreePoints = {{"#1", "P1", "1", "2", "3", "C"}, {"#2", "P2", "4", "5", "6", ""},
                                {"#3", "P3", "7", "8", "9", "T"}};

GridEditor ThreePoints() {
  GridEditor editor;
  editor.SetRows(kThreePoints);
  return editor;
}

void Type(GridEditor& editor, int row, int column, const std::string& text) {
  for (std::size_t n = 1; n <= text.size(); ++n) {
    CellCheck check;
    editor.Edit(row, column, text.substr(0, n), check);
  }
}

struct HistoryRow {
  const char* edit;
  std::function<void(GridEditor&)> apply;
  GridRows after;
  bool modified;
  std::size_t steps;
};

TEST(GridHistory, EveryEditIsOneStepUndoneAndDoneAgain) {
  const auto& [r1, r2, r3] = std::tie(kThreePoints[0], kThreePoints[1], kThreePoints[2]);
  using Row = std::vector<std::string>;
  for (const HistoryRow& r : {
           HistoryRow{"keystrokes in one cell", [](GridEditor& e) { Type(e, 0, 1, "Q12"); },
                      {{"#1", "Q12", "1", "2", "3", "C"}, r2, r3}, true, 1},
           HistoryRow{"a refused key keeps the cell", [](GridEditor& e) { Type(e, 1, 3, "5x"); },
                      {r1, {"#2", "P2", "4", "5", "6", ""}, r3}, false, 0},
           HistoryRow{"the sign before a number", [](GridEditor& e) { Type(e, 0, 4, "-"); },
                      {{"#1", "P1", "1", "2", "-", "C"}, r2, r3}, false, 1},
           HistoryRow{"append", [](GridEditor& e) { e.AppendRows(1); }, {r1, r2, r3, Row{"#4", "", "", "", "", ""}},
                      false, 1},
           HistoryRow{"insert", [](GridEditor& e) { e.InsertRow(1); },
                      {r1, Row{"#2", "", "", "", "", ""}, {"#3", "P2", "4", "5", "6", ""}, {"#4", "P3", "7", "8", "9", "T"}},
                      false, 1},
           HistoryRow{"delete", [](GridEditor& e) { e.DeleteRow(0); },
                      {{"#1", "P2", "4", "5", "6", ""}, {"#2", "P3", "7", "8", "9", "T"}}, true, 1},
           HistoryRow{"delete every row", [](GridEditor& e) { e.DeleteRows(0, 3); }, {Row(6)}, true, 1},
           HistoryRow{"clear cells", [](GridEditor& e) { e.ClearCells({0, 2, 1, 3}); },
                      {{"#1", "P1", "", "", "3", "C"}, {"#2", "P2", "", "", "6", ""}, r3}, true, 1},
           HistoryRow{"paste past the end", [](GridEditor& e) { e.Paste(2, 1, "P9\t7\nP10\t8\tx\n"); },
                      {r1, r2, {"#3", "P9", "7", "8", "9", "T"}, {"#4", "P10", "8", "", "", ""}}, true, 1},
       }) {
    SCOPED_TRACE(r.edit);
    GridEditor editor = ThreePoints();
    r.apply(editor);
    EXPECT_EQ(editor.Rows(), r.after);
    EXPECT_EQ(editor.Modified(), r.modified);
    EXPECT_EQ(editor.History().StepCount(), r.steps);
    EXPECT_EQ(editor.Undo(), r.steps > 0);
    EXPECT_EQ(editor.Rows(), kThreePoints);
    EXPECT_FALSE(editor.Modified());  // back at the state the grid was prepared in
    EXPECT_FALSE(editor.Undo());
    EXPECT_EQ(editor.Redo(), r.steps > 0);
    EXPECT_EQ(editor.Rows(), r.after);
    EXPECT_EQ(editor.Modified(), r.modified);
  }
}

TEST(GridHistory, KeystrokesJoinUntilSealedAndTheOldestStepsGo) {
  GridEditor editor = ThreePoints();
  Type(editor, 0, 1, "A");
  Type(editor, 1, 1, "B");  // another cell: a step of its own
  editor.SealTyping();
  Type(editor, 1, 1, "BC");  // the same cell after its editor closed
  Type(editor, 1, 1, "BCDEFGHIJ");  // refused at the ninth character
  Type(editor, 1, 1, "BCD");        // after the refusal: a step of its own
  EXPECT_EQ(editor.History().StepCount(), 4u);
  editor.Undo();
  EXPECT_EQ(editor.Cell(1, 1), "BCDEFGHI");
  editor.Undo();
  EXPECT_EQ(editor.Cell(1, 1), "B");
  // An edit after an undo ends the steps that could be done again.
  Type(editor, 2, 2, "0");
  EXPECT_FALSE(editor.Redo());
  editor.SetModified(false);  // written back: this is the saved state now
  editor.Undo();
  EXPECT_TRUE(editor.Modified());
  editor.Redo();
  EXPECT_FALSE(editor.Modified());

  GridHistory steps(3, 1 << 20);
  for (int i = 0; i < 5; ++i) steps.Record({i, {}, {}, 1, true, false});
  EXPECT_EQ(steps.StepCount(), 3u);
  EXPECT_EQ(steps.NextUndo()->at, 4);
  while (steps.Undo()) {
  }
  EXPECT_EQ(steps.NextRedo()->at, 2);
  EXPECT_TRUE(steps.Modified());  // the state before the dropped steps cannot come back
  GridHistory bytes(200, 4096);
  bytes.Record({0, {}, {{"#1", "P1"}}, 1, true, false});
  bytes.Record({0, {}, GridRows(100, {"#1", "P1"}), 1, true, false});  // more than the whole bound
  EXPECT_EQ(bytes.StepCount(), 0u);
  EXPECT_LE(bytes.Bytes(), 4096u);
  EXPECT_TRUE(bytes.Modified());
}

TEST(GridNames, DuplicatesFollowEveryEditAndFindGoesRoundTheRows) {
  GridEditor editor;
  editor.SetRows({{"#1", "P1"}, {"#2", "P2"}, {"#3", "P1"}, {"#4", ""}, {"#5", ""}});
  EXPECT_TRUE(editor.DuplicateName(0));
  EXPECT_FALSE(editor.DuplicateName(1));
  EXPECT_FALSE(editor.DuplicateName(3));  // empty names are no duplicates
  Type(editor, 2, 1, "P3");
  EXPECT_FALSE(editor.DuplicateName(0));
  editor.Undo();
  EXPECT_TRUE(editor.DuplicateName(0));
  editor.DeleteRow(0);
  EXPECT_FALSE(editor.DuplicateName(1));
  EXPECT_EQ(editor.Names().DuplicateNames(), 0u);
  editor.Paste(2, 1, "P2\nP2");
  EXPECT_TRUE(editor.DuplicateName(0));
  EXPECT_EQ(editor.Names().DuplicateNames(), 1u);

  const GridRows rows = {{"#1", "P1"}, {"#2", "P10"}, {"#3", "p1x"}, {"#4", "P1"}};
  const struct {
    const char* name;
    int after;
    std::optional<int> found;
  } finds[] = {{"P1", -1, 0}, {"P1", 0, 3}, {"P1", 3, 0}, {"p10", 3, 1}, {"p1", 0, 3}, {"X", 0, std::nullopt},
               {"", 0, std::nullopt}};
  for (const auto& f : finds) EXPECT_EQ(FindNamedRow(rows, f.name, f.after), f.found) << f.name << " after " << f.after;
}

TEST(GridWriteBack, ABadCoordinateKeepsThePointsAndNamesItsCell) {
  WorkingData d;
  d.DataKind = DataKind::Coord;
  d.PointList.resize(2);
  const GridRows rows = {{"#1", "P1", "1", "2", "3", "C"}, {"#2", "P2", "4", "-", "6", ""}, {"#3", "", "", "", "", ""}};
  const GridWriteResult r = WriteGridToPoints(rows, true, Settings{}, d);
  EXPECT_FALSE(r.Ok());
  ASSERT_TRUE(r.badCell);
  EXPECT_EQ(r.badCell->row, 1);
  EXPECT_EQ(r.badCell->column, 3);
  EXPECT_EQ(d.PointList.size(), 2u);
  EXPECT_TRUE(WriteGridToPoints(rows, false, Settings{}, d).Ok());  // unmodified: nothing read
}

TEST(GridWriteBack, EmptiedCodeGridEmptiesTheCodesAndEightCharacterNamesStayWhole) {
  WorkingData d;
  d.DataKind = DataKind::Code;
  d.CodeList.resize(3);
  EXPECT_TRUE(WriteGridToCodes({{"", ""}}, d).Ok());
  EXPECT_TRUE(d.CodeList.empty());
  WriteGridToCodes({{"#1", "ABCDEFGH"}}, d);
  ASSERT_EQ(d.CodeList.size(), 1u);
  EXPECT_EQ(d.CodeList[0].Code.Str(), "ABCDEFGH");
}

TEST(GridWriteBack, IllegalCharacterLooksAtTheCodeBeforeTheName) {
  EXPECT_FALSE(FindIllegalCharacter({{"#1", "P1", "1", "2", "3", "~!"}}, DataKind::Coord));
  const auto bad = FindIllegalCharacter({{"#1", "P1", "", "", "", ""}, {"#2", "A B", "", "", "", "C\x7F"}}, DataKind::Coord);
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->row, 1);
  EXPECT_EQ(bad->column, 5);
}

}  // namespace
}  // namespace theolink
