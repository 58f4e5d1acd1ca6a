#include "app/grid_editor.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "files/data_views.h"

namespace theolink {

void GridEditor::Reset(int columns, DataKind dataKind) {
  columns_ = std::max(1, columns);
  dataKind_ = dataKind;
  rows_.assign(1, std::vector<std::string>(static_cast<std::size_t>(columns_)));
  rows_[0][0] = RowLabel(1);
  names_.Clear();
  history_.Clear();
  pending_ = {};
}

void GridEditor::SetRows(GridRows rows) {
  rows_ = std::move(rows);
  for (auto& row : rows_) row.resize(static_cast<std::size_t>(columns_));
  names_.Count(rows_);
  history_.Clear();
  pending_ = {};
}

bool GridEditor::Inside(int row, int column) const {
  return row >= 0 && column >= 0 && row < RowCount() && column < columns_;
}

const std::string& GridEditor::Cell(int row, int column) const {
  static const std::string empty;
  return Inside(row, column) ? rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] : empty;
}

void GridEditor::PutCell(int row, int column, std::string text) {
  std::string& cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (column == 1) {
    names_.Remove(cell);
    names_.Add(text);
  }
  cell = std::move(text);
}

GridRows GridEditor::Copy(int at, int count) const {
  const auto first = rows_.begin() + std::clamp(at, 0, RowCount());
  const auto last = rows_.begin() + std::clamp(at + count, 0, RowCount());
  return GridRows(first, std::max(first, last));
}

void GridEditor::Splice(int at, int count, GridRows rows) {
  at = std::clamp(at, 0, RowCount());
  count = std::clamp(count, 0, RowCount() - at);
  if (columns_ > 1) {
    for (int r = at; r < at + count; ++r) names_.Remove(rows_[static_cast<std::size_t>(r)][1]);
  }
  for (auto& row : rows) {
    row.resize(static_cast<std::size_t>(columns_));
    if (columns_ > 1) names_.Add(row[1]);
  }
  const int added = static_cast<int>(rows.size());
  if (added == count) {
    std::move(rows.begin(), rows.end(), rows_.begin() + at);
    return;
  }
  const auto first = rows_.erase(rows_.begin() + at, rows_.begin() + at + count);
  rows_.insert(first, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  Relabel(at + added);
}

void GridEditor::Relabel(int from) {
  for (std::size_t r = static_cast<std::size_t>(std::max(0, from)); r < rows_.size(); ++r) rows_[r][0] = RowLabel(r + 1);
}

bool GridEditor::EnterText(int row, int column, std::string text) {
  if (!Inside(row, column) || column == 0) return false;
  pending_ = {row, column, Cell(row, column)};
  PutCell(row, column, std::move(text));
  return true;
}

CellCheck GridEditor::CheckEdited(int row, int column) {
  const CellCheck check = CheckCellText(ColumnKind(dataKind_, column), Cell(row, column));
  const bool known = pending_.row == row && pending_.column == column;
  std::string before = known ? std::move(pending_.before) : std::string();
  pending_ = {};
  if (!Inside(row, column) || column == 0) return check;
  // What the cell held stays: the surveyor loses no more than the key that was refused.
  if (!check.accepted) {
    PutCell(row, column, std::move(before));
    // Its message interrupts the typing: what comes after it is a step of its own.
    history_.Seal();
    return check;
  }
  GridStep step;
  step.at = row;
  step.after = Copy(row, 1);
  step.before = step.after;
  step.before[0][static_cast<std::size_t>(column)] = std::move(before);
  step.column = column;
  step.changes = check.modifies;
  step.typing = true;
  history_.Record(std::move(step));
  return check;
}

bool GridEditor::Edit(int row, int column, std::string text, CellCheck& check) {
  if (!Inside(row, column) || column == 0 || Cell(row, column) == text) return false;
  EnterText(row, column, std::move(text));
  check = CheckEdited(row, column);
  return true;
}

CellCheck GridEditor::TypeCell(int row, int column, std::string text) {
  std::string before = Cell(row, column);
  PutCell(row, column, std::move(text));
  const CellCheck check = CheckCellText(ColumnKind(dataKind_, column), Cell(row, column));
  if (!check.accepted) PutCell(row, column, std::move(before));
  return check;
}

void GridEditor::AppendRowsUnrecorded(int count) {
  const std::size_t first = rows_.size();
  for (int i = 0; i < count; ++i) {
    auto& row = rows_.emplace_back(static_cast<std::size_t>(columns_));
    row[0] = RowLabel(rows_.size());
  }
  if (first > 0) rows_[first - 1][0] = RowLabel(first);
}

void GridEditor::AppendRows(int count) {
  if (count <= 0) return;
  GridStep step;
  step.at = std::max(0, RowCount() - 1);
  step.before = Copy(step.at, RowCount() - step.at);
  AppendRowsUnrecorded(count);
  step.after = Copy(step.at, RowCount() - step.at);
  history_.Record(std::move(step));
}

bool GridEditor::InsertRow(int row) {
  if (row < 0 || row > RowCount()) return false;
  GridStep step;
  step.at = row;
  step.after.emplace_back(static_cast<std::size_t>(columns_))[0] = RowLabel(static_cast<std::size_t>(row) + 1);
  Splice(row, 0, step.after);
  history_.Record(std::move(step));
  return true;
}

bool GridEditor::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return false;
  return DeleteRows(row, 1) > 0;
}

int GridEditor::DeleteRows(int first, int count) {
  if (first < 0 || first >= RowCount() || count <= 0) return 0;
  count = std::min(count, RowCount() - first);
  GridStep step;
  step.at = first;
  step.before = Copy(first, count);
  step.changes = true;
  int removed = count;
  if (count == RowCount()) {
    // The grid keeps one row, emptied completely, label included.
    step.after.emplace_back(static_cast<std::size_t>(columns_));
    removed = count - 1;
  }
  Splice(first, count, step.after);
  history_.Record(std::move(step));
  return removed;
}

bool GridEditor::ClearCells(GridRect rect) {
  rect.top = std::max(0, rect.top);
  rect.left = std::max(1, rect.left);
  rect.bottom = std::min(RowCount() - 1, rect.bottom);
  rect.right = std::min(columns_ - 1, rect.right);
  if (rect.Empty()) return false;
  GridStep step;
  step.at = rect.top;
  step.column = rect.left;
  step.before = Copy(rect.top, rect.bottom - rect.top + 1);
  for (int r = rect.top; r <= rect.bottom; ++r)
    for (int c = rect.left; c <= rect.right; ++c) PutCell(r, c, std::string());
  step.after = Copy(rect.top, rect.bottom - rect.top + 1);
  if (step.after == step.before) return false;
  step.changes = true;
  history_.Record(std::move(step));
  return true;
}

int GridEditor::PasteRowsNeeded(int row, std::string_view block) const {
  return std::max(0, row + static_cast<int>(SplitPastedBlock(block).size()) - RowCount());
}

GridPaste GridEditor::Paste(int row, int column, std::string_view block) {
  GridPaste result;
  if (!Inside(row, column) || column < 1) return result;
  const auto cells = SplitPastedBlock(block);
  if (cells.empty()) return result;
  const int height = static_cast<int>(cells.size());
  GridStep step;
  step.at = row;
  step.column = column;
  step.before = Copy(row, height);
  result.rowsAdded = PasteRowsNeeded(row, block);
  AppendRowsUnrecorded(result.rowsAdded);
  for (int r = 0; r < height; ++r) {
    const int at = row + r;
    const auto& line = cells[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(line.size()) && column + c < columns_; ++c) {
      result.lastColumn = std::max(result.lastColumn, column + c);
      const std::string& text = line[static_cast<std::size_t>(c)];
      if (Cell(at, column + c) == text) continue;
      const CellCheck check = TypeCell(at, column + c, text);
      step.changes = step.changes || (check.accepted && check.modifies);
      if (check.message &&
          std::find(result.messages.begin(), result.messages.end(), *check.message) == result.messages.end())
        result.messages.push_back(*check.message);
    }
    result.lastRow = at;
  }
  step.after = Copy(row, height);
  if (step.after != step.before) history_.Record(std::move(step));
  return result;
}

std::optional<GridSplice> GridEditor::SpliceOf(const GridStep* step, bool undo) {
  if (step == nullptr) return std::nullopt;
  const int before = static_cast<int>(step->before.size()), after = static_cast<int>(step->after.size());
  return GridSplice{step->at, undo ? after : before, undo ? before : after, step->column};
}

std::optional<GridSplice> GridEditor::NextUndo() const { return SpliceOf(history_.NextUndo(), true); }

std::optional<GridSplice> GridEditor::NextRedo() const { return SpliceOf(history_.NextRedo(), false); }

bool GridEditor::Undo() { return Replay(true); }

bool GridEditor::Redo() { return Replay(false); }

bool GridEditor::Replay(bool undo) {
  const GridStep* step = undo ? history_.NextUndo() : history_.NextRedo();
  if (step == nullptr) return false;
  // The rows the step left are swapped for the ones it found, or the other way round.
  const int at = step->at, count = static_cast<int>((undo ? step->after : step->before).size());
  GridRows rows = undo ? step->before : step->after;
  undo ? history_.Undo() : history_.Redo();
  pending_ = {};
  Splice(at, count, std::move(rows));
  return true;
}

void GridEditor::SetModified(bool on) {
  if (on) history_.MarkUnsaved();
  else history_.MarkSaved();
}

}  // namespace theolink
