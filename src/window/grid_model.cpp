#include "window/grid_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <utility>

#include "app/text_table.h"
#include "window/display_text.h"

namespace theolink {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) { Reset(6, {}, DataKind::Coord); }

void GridModel::Reset(int columns, const QStringList& headers, DataKind dataKind) {
  beginResetModel();
  headers_ = headers;
  editor_.Reset(columns, dataKind);
  endResetModel();
}

void GridModel::SetRows(std::vector<Row> rows) {
  beginResetModel();
  editor_.SetRows(std::move(rows));
  endResetModel();
}

void GridModel::CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  if (firstRow > lastRow || firstRow < 0) return;
  emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn), {Qt::DisplayRole, Qt::EditRole});
}

void GridModel::SetEditing(bool on) {
  if (editing_ == on) return;
  editing_ = on;
  // Only the flags change; the views ask again.
  CellsChanged(0, rowCount() - 1, 0, columnCount() - 1);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : editor_.RowCount(); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : editor_.ColumnCount(); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return DisplayText(Cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
      // Labels and codes centred, names and numbers to the right.
      return QVariant::fromValue(index.column() == 0 || index.column() == 5 ? Qt::AlignCenter
                                                                              : (Qt::AlignRight | Qt::AlignVCenter));
    case Qt::BackgroundRole:
      if (DuplicateAt(index)) return QBrush(QColor(255, 214, 150));
      return {};
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
      if (DuplicateAt(index)) return UiText(PickText(TextId::DuplicateName));
      return {};
    default:
      return {};
  }
}

bool GridModel::DuplicateAt(const QModelIndex& index) const {
  return index.column() == 1 && editor_.Kind() == DataKind::Coord && editor_.DuplicateName(index.row());
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
  if (role != Qt::DisplayRole) return {};
  return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (editing_ && index.column() > 0) f |= Qt::ItemIsEditable;
  return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !editing_ || !index.isValid() || index.column() == 0) return false;
  std::string text = DataText(value.toString());
  if (text == Cell(index.row(), index.column())) return false;
  editor_.EnterText(index.row(), index.column(), std::move(text));
  CellsChanged(index.row(), index.row(), index.column(), index.column());
  if (OnCellEdited) OnCellEdited(index.row(), index.column());
  else CheckEdited(index.row(), index.column());
  return true;
}

CellCheck GridModel::CheckEdited(int row, int column) {
  const CellCheck check = editor_.CheckEdited(row, column);
  if (!check.accepted) CellsChanged(row, row, column, column);
  if (column == 1) NamesChanged();
  return check;
}

void GridModel::NamesChanged() {
  if (editor_.Kind() != DataKind::Coord || columnCount() < 2 || rowCount() == 0) return;
  emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::BackgroundRole, Qt::ToolTipRole});
}

void GridModel::ChangeRows(int at, int rows, int rowsAfter, const std::function<void()>& change) {
  if (rowsAfter > rows) beginInsertRows({}, at + rows, at + rowsAfter - 1);
  else if (rowsAfter < rows) beginRemoveRows({}, at + rowsAfter, at + rows - 1);
  change();
  if (rowsAfter > rows) endInsertRows();
  else if (rowsAfter < rows) endRemoveRows();
  CellsChanged(at, at + std::min(rows, rowsAfter) - 1, 0, columnCount() - 1);
  // The rows below keep their cells and take new labels.
  if (rowsAfter != rows) CellsChanged(at + rowsAfter, rowCount() - 1, 0, 0);
  NamesChanged();
}

void GridModel::AppendRows(int count) {
  if (count <= 0) return;
  const int at = std::max(0, rowCount() - 1);
  const int rows = rowCount() - at;
  ChangeRows(at, rows, rows + count, [&] { editor_.AppendRows(count); });
}

void GridModel::InsertRow(int row) {
  if (row < 0 || row > rowCount()) return;
  ChangeRows(row, 0, 1, [&] { editor_.InsertRow(row); });
}

bool GridModel::DeleteRow(int row) { return DeleteRows(row, 1) > 0; }

int GridModel::DeleteRows(int first, int count) {
  if (first < 0 || first >= rowCount() || count <= 0) return 0;
  count = std::min(count, rowCount() - first);
  int removed = 0;
  ChangeRows(first, count, count == rowCount() ? 1 : 0, [&] { removed = editor_.DeleteRows(first, count); });
  return removed;
}

bool GridModel::ClearCells(GridRect rect) {
  if (!editor_.ClearCells(rect)) return false;
  CellsChanged(std::max(0, rect.top), std::min(rowCount() - 1, rect.bottom), 0, columnCount() - 1);
  NamesChanged();
  return true;
}

GridPaste GridModel::Paste(int row, int column, std::string_view block) {
  const int height = static_cast<int>(SplitPastedBlock(block).size());
  if (row < 0 || row >= rowCount() || column < 1 || column >= columnCount() || height == 0) return {};
  GridPaste pasted;
  ChangeRows(row, std::min(height, rowCount() - row), height, [&] { pasted = editor_.Paste(row, column, block); });
  return pasted;
}

std::optional<GridSplice> GridModel::Undo() {
  const std::optional<GridSplice> splice = editor_.NextUndo();
  if (splice) ChangeRows(splice->at, splice->rows, splice->rowsAfter, [&] { editor_.Undo(); });
  return splice;
}

std::optional<GridSplice> GridModel::Redo() {
  const std::optional<GridSplice> splice = editor_.NextRedo();
  if (splice) ChangeRows(splice->at, splice->rows, splice->rowsAfter, [&] { editor_.Redo(); });
  return splice;
}

}  // namespace theolink
