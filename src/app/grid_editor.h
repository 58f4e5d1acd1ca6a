#pragma once
// The grid editor's state without widgets: the data rows of a coordinate or code grid
// (column 0 holds the row label "#n"), its row operations, the check of every change of a
// cell, where a pasted block goes, and whether the surveyor changed anything since the
// grid was prepared or written back. A view presents it; it decides nothing itself.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/grid_cells.h"
#include "app/grid_write_back.h"
#include "records/text_id.h"

namespace theolink {

// What a pasted block did: rows added at the bottom, the cells it reached (a rectangle)
// and the messages of the cells it refused, each kind once, in order.
struct GridPaste {
  int rowsAdded = 0;
  int lastRow = -1;  // -1: nothing was pasted
  int lastColumn = -1;
  std::vector<TextId> messages;
};

class GridEditor {
 public:
  GridEditor() { Reset(6, theolink::DataKind::Coord); }

  // Empties every cell: one data row labelled "#1", in the given columns, for the data
  // kind's column rules; clears the modified flag.
  void Reset(int columns, DataKind dataKind);
  // Replaces every data row at once (each made as wide as the grid).
  void SetRows(GridRows rows);

  const GridRows& Rows() const { return rows_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return columns_; }
  theolink::DataKind Kind() const { return dataKind_; }
  // The bytes of a cell ("" outside the grid).
  const std::string& Cell(int row, int column) const;
  // Sets a cell's bytes without any check; false outside the grid.
  bool SetCell(int row, int column, std::string text);

  // A changed cell text, checked as the surveyor typed it: a refused text empties the
  // cell; an accepted one sets the modified flag unless it is only the start of a number.
  CellCheck CheckEdited(int row, int column);
  // Sets and checks, as typing does; false when the cell is outside the grid, the row
  // label, or already held text.
  bool Edit(int row, int column, std::string text, CellCheck& check);

  // Adds count empty, labelled rows at the bottom and labels the row above them again
  // (deleting the only row had emptied its label).
  void AppendRows(int count);
  // Moves the rows from row down by one; row becomes empty with its label.
  bool InsertRow(int row);
  // Removes row and sets the modified flag, the rows below taking their new labels; the
  // only row is emptied completely instead, label included. True when a row was removed.
  bool DeleteRow(int row);

  // The rows a block pasted at row would need beyond the grid's end.
  int PasteRowsNeeded(int row, std::string_view block) const;
  // A tab-separated block from (row, column) on, each cell checked as if typed; rows past
  // the end are appended, columns past the last are left out. Column 0 takes nothing.
  GridPaste Paste(int row, int column, std::string_view block);

  bool Modified() const { return modified_; }
  void SetModified(bool on) { modified_ = on; }

 private:
  bool Inside(int row, int column) const;
  void Relabel(int from);

  int columns_ = 6;
  theolink::DataKind dataKind_ = theolink::DataKind::Coord;
  GridRows rows_;
  bool modified_ = false;
};

}  // namespace theolink
