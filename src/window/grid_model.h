#pragma once
// StrGrid's model: the display rows of a coordinate or code list (row 0 of the grid is
// the header, column 0 the row label). Cells hold data bytes; they are decoded for the
// screen only when a cell is drawn.
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace theolink {

class GridModel final : public QAbstractTableModel {
 public:
  using Row = std::vector<std::string>;

  explicit GridModel(QObject* parent = nullptr);

  // Empties every cell: one data row labelled "#1", the given columns and headers.
  void Reset(int columns, const QStringList& headers);
  // Replaces every data row at once.
  void SetRows(std::vector<Row> rows);
  const std::vector<Row>& Rows() const { return rows_; }
  // The bytes of a cell ("" outside the grid).
  const std::string& Cell(int row, int column) const;

  // Row operations of the editor; rows are model rows (grid row - 1). Only the rows that
  // move are announced, so a big grid stays quick.
  // Adds an empty row at the bottom labelled with its number, and labels the row above.
  void AppendRow();
  // Adds count empty, labelled rows at the bottom.
  void AppendRows(int count);
  // Moves the rows from row down by one; row becomes empty with its label.
  void InsertRow(int row);
  // Removes row, the rows below moving up and taking their new labels; the only row is
  // emptied completely instead, label included.
  void DeleteRow(int row);
  // Sets a cell's bytes without any check.
  void SetCell(int row, int column, std::string text);

  // Called with every text that reaches an editable cell (typed, deleted, pasted), after
  // the cell holds it; it may change the cell again.
  std::function<void(int row, int column)> OnCellEdited;

  // Cells other than the row label take typed text while editing is on.
  void SetEditing(bool on);
  bool Editing() const { return editing_; }
  bool GridModified() const { return modified_; }
  void SetGridModified(bool on) { modified_ = on; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  // Labels rows from `from` to the end with their numbers.
  void Relabel(int from);

  int columns_ = 6;
  QStringList headers_;
  std::vector<Row> rows_;
  bool editing_ = false;
  bool modified_ = false;
};

}  // namespace theolink
