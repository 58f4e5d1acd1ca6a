#include "app/grid_editor.h"

#include <algorithm>
#include <utility>

#include "files/data_views.h"

namespace theolink {

void GridEditor::Reset(int columns, DataKind dataKind) {
  columns_ = std::max(1, columns);
  dataKind_ = dataKind;
  rows_.assign(1, std::vector<std::string>(static_cast<std::size_t>(columns_)));
  rows_[0][0] = RowLabel(1);
  modified_ = false;
}

void GridEditor::SetRows(GridRows rows) {
  rows_ = std::move(rows);
  for (auto& row : rows_) row.resize(static_cast<std::size_t>(columns_));
}

bool GridEditor::Inside(int row, int column) const {
  return row >= 0 && column >= 0 && row < RowCount() && column < columns_;
}

const std::string& GridEditor::Cell(int row, int column) const {
  static const std::string empty;
  return Inside(row, column) ? rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] : empty;
}

bool GridEditor::SetCell(int row, int column, std::string text) {
  if (!Inside(row, column)) return false;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
  return true;
}

CellCheck GridEditor::CheckEdited(int row, int column) {
  const CellCheck check = CheckCellText(ColumnKind(dataKind_, column), Cell(row, column));
  // The whole cell goes: the message does not say which character was wrong.
  if (!check.accepted) SetCell(row, column, std::string());
  else if (check.modifies) modified_ = true;
  return check;
}

bool GridEditor::Edit(int row, int column, std::string text, CellCheck& check) {
  if (!Inside(row, column) || column == 0 || Cell(row, column) == text) return false;
  SetCell(row, column, std::move(text));
  check = CheckEdited(row, column);
  return true;
}

void GridEditor::AppendRows(int count) {
  if (count <= 0) return;
  const std::size_t first = rows_.size();
  for (int i = 0; i < count; ++i) {
    auto& row = rows_.emplace_back(static_cast<std::size_t>(columns_));
    row[0] = RowLabel(rows_.size());
  }
  if (first > 0) rows_[first - 1][0] = RowLabel(first);
}

bool GridEditor::InsertRow(int row) {
  if (row < 0 || row > RowCount()) return false;
  rows_.insert(rows_.begin() + row, std::vector<std::string>(static_cast<std::size_t>(columns_)));
  Relabel(row);
  return true;
}

bool GridEditor::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return false;
  modified_ = true;
  if (rows_.size() == 1) {
    for (std::string& cell : rows_[0]) cell.clear();
    return false;
  }
  rows_.erase(rows_.begin() + row);
  Relabel(row);
  return true;
}

void GridEditor::Relabel(int from) {
  for (std::size_t r = static_cast<std::size_t>(std::max(0, from)); r < rows_.size(); ++r) rows_[r][0] = RowLabel(r + 1);
}

int GridEditor::PasteRowsNeeded(int row, std::string_view block) const {
  return std::max(0, row + static_cast<int>(SplitPastedBlock(block).size()) - RowCount());
}

GridPaste GridEditor::Paste(int row, int column, std::string_view block) {
  GridPaste result;
  if (!Inside(row, column) || column < 1) return result;
  const auto cells = SplitPastedBlock(block);
  if (cells.empty()) return result;
  result.rowsAdded = PasteRowsNeeded(row, block);
  AppendRows(result.rowsAdded);
  for (std::size_t r = 0; r < cells.size(); ++r) {
    const int at = row + static_cast<int>(r);
    for (std::size_t c = 0; c < cells[r].size() && column + static_cast<int>(c) < columns_; ++c) {
      CellCheck check;
      result.lastColumn = std::max(result.lastColumn, column + static_cast<int>(c));
      if (!Edit(at, column + static_cast<int>(c), cells[r][c], check)) continue;
      if (check.message &&
          std::find(result.messages.begin(), result.messages.end(), *check.message) == result.messages.end())
        result.messages.push_back(*check.message);
    }
    result.lastRow = at;
  }
  return result;
}

}  // namespace theolink
