#pragma once
// StrGrid as a surveyor uses it: every keystroke in a cell reaches the model at once, Tab
// and Enter move to the next cell (never onto a row label), Delete empties the selected
// cells and a pasted block of tab-separated rows goes to the owner.
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace theolink {

class GridView final : public QTableView {
 public:
  explicit GridView(QWidget* parent = nullptr);

  // The clipboard's text when the surveyor pastes outside an open editor.
  std::function<void(const QString& text)> OnPaste;
  // Closes an open cell editor; its text is in the cell already.
  void CloseCellEditor();
  // Empties the open editor of index, if any (a refused text, before its message shows).
  void EmptyCellEditor(const QModelIndex& index);
  bool CellEditorOpen() const { return state() == EditingState; }

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// The in-place editor: a line edit whose every change is written to the cell; when the
// model changes the cell again (a refused text is emptied) the editor follows.
class GridCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;
};

}  // namespace theolink
