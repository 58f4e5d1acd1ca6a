#pragma once
// StrGrid's model: presents the grid editor's rows (row 0 of the grid is the header,
// column 0 the row label) and tells the view what each editor operation changed. Cells
// hold data bytes; they are decoded for the screen only when a cell is drawn.
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/grid_editor.h"

namespace theolink {

class GridModel final : public QAbstractTableModel {
 public:
  using Row = std::vector<std::string>;

  explicit GridModel(QObject* parent = nullptr);

  // Empties every cell: one data row labelled "#1", the given columns and headers, the
  // column rules of the data kind.
  void Reset(int columns, const QStringList& headers, DataKind dataKind);
  // Replaces every data row at once.
  void SetRows(std::vector<Row> rows);
  const std::vector<Row>& Rows() const { return editor_.Rows(); }
  const GridEditor& Editor() const { return editor_; }
  // The bytes of a cell ("" outside the grid).
  const std::string& Cell(int row, int column) const { return editor_.Cell(row, column); }

  // The editor's row operations; rows are model rows (grid row - 1). Only the rows that
  // move are announced, so a big grid stays quick.
  void AppendRow() { AppendRows(1); }
  void AppendRows(int count);
  void InsertRow(int row);
  // True when a row was removed (the only row is emptied instead).
  bool DeleteRow(int row);
  // Removes count rows from first on as one step; returns how many went.
  int DeleteRows(int first, int count);
  // Empties the cells of rect as one step.
  bool ClearCells(GridRect rect);
  // Checks the text a cell was given while typing (a refused one gives the cell its old
  // text back).
  CellCheck CheckEdited(int row, int column);
  GridPaste Paste(int row, int column, std::string_view block);
  // Undo and redo of the editor's history; what changed, nothing when there was no step.
  std::optional<GridSplice> Undo();
  std::optional<GridSplice> Redo();
  // The cell editor closed: the next keystrokes are a step of their own.
  void SealTyping() { editor_.SealTyping(); }

  // Called with every text that reaches an editable cell (typed, deleted), after the cell
  // holds it.
  std::function<void(int row, int column)> OnCellEdited;

  // Cells other than the row label take typed text while editing is on.
  void SetEditing(bool on);
  bool Editing() const { return editing_; }
  bool GridModified() const { return editor_.Modified(); }
  void SetGridModified(bool on) { editor_.SetModified(on); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  void CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn);
  // Rows [at, at + rows) become rowsAfter rows by change; announces exactly that.
  void ChangeRows(int at, int rows, int rowsAfter, const std::function<void()>& change);
  // A name changed: any name cell may have become, or stopped being, a duplicate.
  void NamesChanged();
  bool DuplicateAt(const QModelIndex& index) const;

  GridEditor editor_;
  QStringList headers_;
  bool editing_ = false;
};

}  // namespace theolink
