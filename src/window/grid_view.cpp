#include "window/grid_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>
#include <optional>

namespace theolink {

GridView::GridView(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new GridCellDelegate(this));
  setTabKeyNavigation(true);
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex next = QTableView::moveCursor(action, modifiers);
  if (!next.isValid() || next.column() != 0 || model() == nullptr || model()->columnCount() < 2) return next;
  if (action == MoveNext) return model()->index(next.row(), 1);
  if (action == MovePrevious) {
    if (next.row() > 0) return model()->index(next.row() - 1, model()->columnCount() - 1);
    return currentIndex();
  }
  return next;
}

void GridView::CloseCellEditor() {
  if (QWidget* editor = indexWidget(currentIndex()); editor != nullptr && state() == EditingState)
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  if (OnCellEditorClosed) OnCellEditorClosed();
}

GridRect GridView::SelectedRect() const {
  std::optional<GridRect> rect;
  if (selectionModel() != nullptr) {
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
      if (!range.isValid()) continue;
      if (!rect) rect = GridRect{range.top(), range.left(), range.bottom(), range.right()};
      rect->top = std::min(rect->top, range.top());
      rect->left = std::min(rect->left, range.left());
      rect->bottom = std::max(rect->bottom, range.bottom());
      rect->right = std::max(rect->right, range.right());
    }
  }
  if (rect) return *rect;
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return {};
  return {current.row(), current.column(), current.row(), current.column()};
}

bool GridView::HistoryKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  const bool undo = key.key() == Qt::Key_Z && mods == Qt::ControlModifier;
  const bool redo = (key.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)) ||
                    (key.key() == Qt::Key_Y && mods == Qt::ControlModifier);
  const std::function<void()>& handler = undo ? OnUndo : OnRedo;
  if ((!undo && !redo) || !handler) return false;
  // The grid's history, not the line edit's own: the cell's keystrokes are one step there.
  CloseCellEditor();
  handler();
  return true;
}

QItemSelectionModel::SelectionFlags GridView::selectionCommand(const QModelIndex& index, const QEvent* event) const {
  QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
  // The row label stands for its row, as a spreadsheet's row header does.
  if (index.isValid() && index.column() == 0 && flags != QItemSelectionModel::NoUpdate) flags |= QItemSelectionModel::Rows;
  return flags;
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (state() != EditingState && model() != nullptr) {
    if (HistoryKey(*event)) {
      event->accept();
      return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && OnDelete) {
      OnDelete(SelectedRect());
      event->accept();
      return;
    }
    if (event->matches(QKeySequence::Copy) && OnCopy) {
      OnCopy(SelectedRect());
      event->accept();
      return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
      setCurrentIndex(moveCursor(MoveNext, event->modifiers()));
      event->accept();
      return;
    }
    if (event->matches(QKeySequence::Paste) && OnPaste && (currentIndex().flags() & Qt::ItemIsEditable)) {
      OnPaste(QApplication::clipboard()->text());
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  // The text stays where the cell shows it.
  editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
  QPersistentModelIndex cell(index);
  QPointer<QLineEdit> guard(editor);
  connect(editor, &QLineEdit::textEdited, editor, [cell, guard](const QString& text) {
    if (!cell.isValid() || guard == nullptr) return;
    const qsizetype cursor = guard->cursorPosition();
    auto* model = const_cast<QAbstractItemModel*>(cell.model());
    model->setData(cell, text, Qt::EditRole);
    if (guard == nullptr) return;
    const QString now = cell.data(Qt::EditRole).toString();
    if (now == text) return;
    // A refused key is taken back: the text, and the cursor where it was before the key.
    if (now != guard->text()) guard->setText(now);
    guard->setCursorPosition(static_cast<int>(std::clamp<qsizetype>(cursor - (text.size() - now.size()), 0, now.size())));
  });
  return editor;
}

bool GridCellDelegate::eventFilter(QObject* object, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    if (auto* view = dynamic_cast<GridView*>(parent()); view != nullptr && view->HistoryKey(*static_cast<QKeyEvent*>(event)))
      return true;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      auto* editor = qobject_cast<QWidget*>(object);
      if (editor != nullptr) {
        emit commitData(editor);
        emit closeEditor(editor, EditNextItem);
        return true;
      }
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace theolink
