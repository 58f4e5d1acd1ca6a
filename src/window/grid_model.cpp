#include "window/grid_model.h"

#include <utility>

#include "files/data_views.h"
#include "window/display_text.h"

namespace theolink {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) { Reset(6, {}); }

void GridModel::Reset(int columns, const QStringList& headers) {
  beginResetModel();
  columns_ = columns;
  headers_ = headers;
  rows_.assign(1, Row(static_cast<std::size_t>(columns)));
  rows_[0][0] = RowLabel(1);
  modified_ = false;
  endResetModel();
}

void GridModel::SetRows(std::vector<Row> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  for (Row& row : rows_) row.resize(static_cast<std::size_t>(columns_));
  endResetModel();
}

const std::string& GridModel::Cell(int row, int column) const {
  static const std::string empty;
  if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= rows_.size() || column >= columns_) return empty;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void GridModel::SetEditing(bool on) {
  if (editing_ == on) return;
  editing_ = on;
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columns_ - 1), {});
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

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
  std::string& cell = rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
  std::string text = DataText(value.toString());
  if (text == cell) return false;
  cell = std::move(text);
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  if (OnCellEdited) OnCellEdited(index.row(), index.column());
  return true;
}

void GridModel::SetCell(int row, int column, std::string text) {
  if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= rows_.size() || column >= columns_) return;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
  emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole, Qt::EditRole});
}

void GridModel::AppendRow() {
  AppendRows(1);
}

void GridModel::AppendRows(int count) {
  if (count <= 0) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + count - 1);
  for (int i = 0; i < count; ++i) {
    Row& row = rows_.emplace_back(static_cast<std::size_t>(columns_));
    row[0] = RowLabel(rows_.size());
  }
  endInsertRows();
  // Restores the label of a row emptied by deleting the only row.
  if (first > 0) SetCell(first - 1, 0, RowLabel(static_cast<std::size_t>(first)));
}

void GridModel::InsertRow(int row) {
  if (row < 0 || row > rowCount()) return;
  beginInsertRows({}, row, row);
  rows_.insert(rows_.begin() + row, Row(static_cast<std::size_t>(columns_)));
  endInsertRows();
  Relabel(row);
}

void GridModel::DeleteRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  if (rows_.size() == 1) {
    for (std::string& cell : rows_[0]) cell.clear();
    emit dataChanged(index(0, 0), index(0, columns_ - 1), {Qt::DisplayRole, Qt::EditRole});
    return;
  }
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
  Relabel(row);
}

void GridModel::Relabel(int from) {
  if (from >= rowCount()) return;
  for (std::size_t r = static_cast<std::size_t>(from); r < rows_.size(); ++r) rows_[r][0] = RowLabel(r + 1);
  emit dataChanged(index(from, 0), index(rowCount() - 1, 0), {Qt::DisplayRole, Qt::EditRole});
}

}  // namespace theolink
