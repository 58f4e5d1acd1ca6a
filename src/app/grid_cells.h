#pragma once
// What the grid editor accepts in a cell while the surveyor types, and which characters a
// name or code may hold when the editor is left. No widgets: cells are data bytes (GBK).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/data_kind.h"
#include "records/text_id.h"

namespace theolink {

enum class GridColumnKind { Label, Text, Number };

// Column 0 is the row label; names and codes are text, every other column a number.
GridColumnKind ColumnKind(DataKind dataKind, int column);

struct CellCheck {
  bool accepted = true;           // false: the cell is emptied and message shown
  bool modifies = true;           // an accepted text that sets GridModified
  std::optional<TextId> message;  // set when refused
};

// The check of one change of a cell's text. A lone sign or point (the start of a number
// being typed) is accepted without counting as a change.
CellCheck CheckCellText(GridColumnKind kind, std::string_view text);

// "-", "+", ".", "-." or "+.": what a number looks like before its first digit.
bool IsNumberStart(std::string_view text);
// Characters of GBK text as the surveyor sees them (a two-byte character counts once).
std::size_t CharacterCount(std::string_view gbk);
// Names and codes may hold printable ASCII without space only.
inline bool IsAllowedNameByte(unsigned char c) { return c >= 33 && c <= 126; }

// A block copied from a spreadsheet: rows on line ends, cells on tabs; a final line end
// does not start another row.
std::vector<std::vector<std::string>> SplitPastedBlock(std::string_view text);

// A rectangle of cells, rows and columns counted from 0, both ends included.
struct GridRect {
  int top = 0;
  int left = 0;
  int bottom = -1;
  int right = -1;
  bool Empty() const { return bottom < top || right < left; }
};

// The cells of rect as a spreadsheet takes them: tabs between cells, a line end between
// rows, none after the last; cells outside the rows are empty.
std::string JoinCopiedBlock(const std::vector<std::vector<std::string>>& rows, GridRect rect);

}  // namespace theolink
