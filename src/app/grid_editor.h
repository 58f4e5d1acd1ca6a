#pragma once
// The grid editor's state without widgets: the data rows of a coordinate or code grid
// (column 0 holds the row label "#n"), its row operations, the check of every change of a
// cell, where a pasted block goes, undo and redo of every edit, the names held twice, and
// whether the surveyor changed anything since the grid was prepared or written back. A
// view presents it; it decides nothing itself.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/grid_cells.h"
#include "app/grid_history.h"
#include "app/grid_names.h"
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

// Where an undo or redo changes the rows: from row at, rows rows become rowsAfter rows
// (the rows below are renumbered when the two differ); column is the cell to show.
struct GridSplice {
  int at = 0;
  int rows = 0;
  int rowsAfter = 0;
  int column = 1;
};

class GridEditor {
 public:
  GridEditor() { Reset(6, theolink::DataKind::Coord); }

  // Empties every cell: one data row labelled "#1", in the given columns, for the data
  // kind's column rules; clears the modified flag and the history.
  void Reset(int columns, DataKind dataKind);
  // Replaces every data row at once (each made as wide as the grid); clears the history.
  void SetRows(GridRows rows);

  const GridRows& Rows() const { return rows_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return columns_; }
  theolink::DataKind Kind() const { return dataKind_; }
  // The bytes of a cell ("" outside the grid).
  const std::string& Cell(int row, int column) const;

  // Typing, in the handler's order: EnterText puts the text into the cell, CheckEdited
  // then checks it. A refused text gives the cell back the text it held before; an
  // accepted one is a step of the history (joined to the keystrokes before it in the same
  // cell, back to the last refused one) and sets the modified flag unless it is only the
  // start of a number.
  bool EnterText(int row, int column, std::string text);
  CellCheck CheckEdited(int row, int column);
  // Both at once; false when the cell is outside the grid, the row label, or already held
  // text.
  bool Edit(int row, int column, std::string text, CellCheck& check);
  // The keystrokes that come next start a step of their own (the cell editor closed).
  void SealTyping() { history_.Seal(); }

  // Adds count empty, labelled rows at the bottom and labels the row above them again
  // (deleting the only row had emptied its label).
  void AppendRows(int count);
  // Moves the rows from row down by one; row becomes empty with its label.
  bool InsertRow(int row);
  // Removes row and sets the modified flag, the rows below taking their new labels; the
  // only row is emptied completely instead, label included. True when a row was removed.
  bool DeleteRow(int row);
  // Removes count rows from first on as one step; when that would leave no row, one row
  // stays, emptied completely. Returns the number of rows removed.
  int DeleteRows(int first, int count);
  // Empties the cells of rect (never a row label) as one step; false when none held text.
  bool ClearCells(GridRect rect);

  // The rows a block pasted at row would need beyond the grid's end.
  int PasteRowsNeeded(int row, std::string_view block) const;
  // A tab-separated block from (row, column) on, each cell checked as if typed; rows past
  // the end are appended, columns past the last are left out. Column 0 takes nothing. The
  // whole paste is one step.
  GridPaste Paste(int row, int column, std::string_view block);

  // What Undo or Redo would change; nothing when there is no step.
  std::optional<GridSplice> NextUndo() const;
  std::optional<GridSplice> NextRedo() const;
  // Takes the last step back / does the step undone last again; the modified flag follows.
  bool Undo();
  bool Redo();

  // True when another row holds the name of this row (names are column 1).
  bool DuplicateName(int row) const { return names_.Duplicate(Cell(row, 1)); }
  const NameCounts& Names() const { return names_; }

  bool Modified() const { return history_.Modified(); }
  // Off: the grid as it is now is the saved state (undo back to it clears the flag again).
  void SetModified(bool on);
  const GridHistory& History() const { return history_; }

 private:
  struct Pending {
    int row = -1;
    int column = -1;
    std::string before;
  };

  bool Inside(int row, int column) const;
  void PutCell(int row, int column, std::string text);
  // The check of a typed text without a step: a refused text puts back what the cell held.
  CellCheck TypeCell(int row, int column, std::string text);
  // Undo (true) or redo of the next step.
  bool Replay(bool undo);
  // Rows [at, at + count) become rows; the rows below are renumbered when the count changes.
  void Splice(int at, int count, GridRows rows);
  GridRows Copy(int at, int count) const;
  void Relabel(int from);
  void AppendRowsUnrecorded(int count);
  static std::optional<GridSplice> SpliceOf(const GridStep* step, bool undo);

  int columns_ = 6;
  theolink::DataKind dataKind_ = theolink::DataKind::Coord;
  GridRows rows_;
  GridHistory history_;
  NameCounts names_;
  Pending pending_;
};

}  // namespace theolink
