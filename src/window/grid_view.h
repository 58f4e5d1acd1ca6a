#pragma once
// StrGrid as a surveyor uses it: every keystroke in a cell reaches the model at once, Tab
// and Enter move to the next cell (never onto a row label), a click on a row label selects
// whole rows, and the keys for Delete, copy, paste, undo and redo go to the owner.
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "app/grid_cells.h"

class QKeyEvent;

namespace theolink {

class GridView final : public QTableView {
 public:
  explicit GridView(QWidget* parent = nullptr);

  // The clipboard's text when the surveyor pastes outside an open editor.
  std::function<void(const QString& text)> OnPaste;
  // Delete outside an open editor, over the selected rectangle.
  std::function<void(GridRect selected)> OnDelete;
  // Ctrl+C outside an open editor, over the selected rectangle.
  std::function<void(GridRect selected)> OnCopy;
  // Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y, in an open editor too (it closes first).
  std::function<void()> OnUndo;
  std::function<void()> OnRedo;
  // A cell editor has closed.
  std::function<void()> OnCellEditorClosed;

  // Closes an open cell editor; its text is in the cell already.
  void CloseCellEditor();
  bool CellEditorOpen() const { return state() == EditingState; }
  // The rectangle around the selection; the current cell when nothing is selected.
  GridRect SelectedRect() const;
  // Undo or redo for key, closing an open editor first; false for other keys.
  bool HistoryKey(const QKeyEvent& key);

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

// The in-place editor: a line edit whose every change is written to the cell; when the
// model gives the cell another text (a refused key is taken back) the editor follows.
class GridCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;
};

}  // namespace theolink
