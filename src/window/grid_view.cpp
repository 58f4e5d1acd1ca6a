#include "window/grid_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

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

void GridView::EmptyCellEditor(const QModelIndex& index) {
  if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(index))) editor->clear();
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (state() != EditingState && model() != nullptr) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
      bool any = false;
      for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        if (!(index.flags() & Qt::ItemIsEditable)) continue;
        any = true;
        if (!index.data(Qt::EditRole).toString().isEmpty()) model()->setData(index, QString(), Qt::EditRole);
      }
      if (any) {
        event->accept();
        return;
      }
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
    if (!cell.isValid()) return;
    auto* model = const_cast<QAbstractItemModel*>(cell.model());
    model->setData(cell, text, Qt::EditRole);
    // A refused text has been taken out of the cell (after its message): so from the editor.
    if (guard == nullptr) return;
    const QString now = cell.data(Qt::EditRole).toString();
    if (now != guard->text()) guard->setText(now);
  });
  return editor;
}

bool GridCellDelegate::eventFilter(QObject* object, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
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
