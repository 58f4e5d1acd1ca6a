#include "window/grid_model.h"

#include <utility>

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
    default:
      return {};
  }
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
  editor_.SetCell(index.row(), index.column(), std::move(text));
  CellsChanged(index.row(), index.row(), index.column(), index.column());
  if (OnCellEdited) OnCellEdited(index.row(), index.column());
  return true;
}

CellCheck GridModel::CheckEdited(int row, int column) {
  const CellCheck check = editor_.CheckEdited(row, column);
  if (!check.accepted) CellsChanged(row, row, column, column);
  return check;
}

void GridModel::AppendRows(int count) {
  if (count <= 0) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + count - 1);
  editor_.AppendRows(count);
  endInsertRows();
  if (first > 0) CellsChanged(first - 1, first - 1, 0, 0);
}

void GridModel::InsertRow(int row) {
  if (row < 0 || row > rowCount()) return;
  beginInsertRows({}, row, row);
  editor_.InsertRow(row);
  endInsertRows();
  CellsChanged(row, rowCount() - 1, 0, 0);
}

bool GridModel::DeleteRow(int row) {
  if (row < 0 || row >= rowCount()) return false;
  if (rowCount() == 1) {
    editor_.DeleteRow(row);
    CellsChanged(0, 0, 0, columnCount() - 1);
    return false;
  }
  beginRemoveRows({}, row, row);
  editor_.DeleteRow(row);
  endRemoveRows();
  CellsChanged(row, rowCount() - 1, 0, 0);
  return true;
}

GridPaste GridModel::Paste(int row, int column, std::string_view block) {
  const int needed = editor_.PasteRowsNeeded(row, block);
  if (needed > 0 && column >= 1 && row >= 0 && row < rowCount()) {
    // The rows come first, so the view learns of them before their cells change.
    AppendRows(needed);
  }
  GridPaste pasted = editor_.Paste(row, column, block);
  pasted.rowsAdded = needed > 0 && column >= 1 ? needed : 0;
  CellsChanged(row, pasted.lastRow, column, pasted.lastColumn);
  return pasted;
}

}  // namespace theolink
