// The grid editor's rules without widgets: the check of a cell's text, the write-back of
// the rows and the character check at Return.
#include <gtest/gtest.h>

#include "app/grid_cells.h"
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
