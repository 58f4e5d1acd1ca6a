#pragma once
// The grid editor's Return: the grid's rows written back into PointList or CodeList, and
// the character check that decides whether the editor may be left. No widgets.
#include <optional>
#include <string>
#include <vector>

#include "files/working_data.h"
#include "records/settings.h"
#include "records/text_id.h"
#include "records/user_message.h"

namespace theolink {

// Data rows of the grid (the header is not among them); column 0 holds the row label.
using GridRows = std::vector<std::vector<std::string>>;

struct GridCell {
  int row = 0;  // index into GridRows
  int column = 0;
};

struct GridWriteResult {
  UserMessage message;              // empty on success, else the fixed error text
  std::optional<GridCell> badCell;  // the coordinate that is not a number
  bool Ok() const { return message.Empty(); }
};

// Points from every row with a name; coordinates read in the settings' distance unit and
// stored in metres, north and east by the coordinate order. Nothing changes when the grid
// was not modified; a coordinate that is not a number leaves PointList as it was.
GridWriteResult WriteGridToPoints(const GridRows& rows, bool gridModified, const Settings& settings,
                                  WorkingData& data);
// Codes from every row with one, in row order; an emptied grid empties CodeList.
GridWriteResult WriteGridToCodes(const GridRows& rows, WorkingData& data);

// The first name or code, from the top, holding a byte outside 33..126: in coordinate
// mode the code (column 5) of a row before its name (column 1).
std::optional<GridCell> FindIllegalCharacter(const GridRows& rows, DataKind dataKind);

// What Return does: the grid written back into the list of the mode, then the character
// check; the editor is left only when both pass.
struct GridReturn {
  std::optional<TextId> notice;     // why the editor stays open
  std::optional<GridCell> select;   // the cell to make current
  bool leave = false;
};
GridReturn ReturnFromGrid(const GridRows& rows, bool gridModified, const Settings& settings, WorkingData& data);

}  // namespace theolink
