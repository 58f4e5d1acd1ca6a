#pragma once
// MeasText: a read-only view of text lines that draws only the lines on screen, so a job of
// millions of lines shows at once. Lines are data bytes, decoded as they are drawn; whole
// lines are selected with the mouse or the keyboard and copied with the copy key.
#include <QString>
#include <QTableView>
#include <memory>

#include "files/data_views.h"

namespace theolink {

class LineModel;

class LineView final : public QTableView {
 public:
  explicit LineView(QWidget* parent = nullptr);

  // Shows lines. Wrapped: long lines wrap at the view's width (prose such as the help);
  // otherwise each line is one row and a horizontal scroll bar reaches the longest.
  void SetLines(std::shared_ptr<const TextViewLines> lines, bool wrapped = false);
  // A line above the lines, such as the units they are in; never one of the lines, so it
  // is neither copied nor saved. SetLines and clear take it away; empty: none.
  void SetHeading(const QString& text);
  QString Heading() const;
  void clear();
  // The lines shown; an empty set after clear.
  const std::shared_ptr<const TextViewLines>& Lines() const;
  // No text at all: no line, or a single empty one.
  bool IsEmpty() const;
  // The lines joined by LF.
  QString toPlainText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CopySelection();
  void FitLines();

  LineModel* model_;
  bool wrapped_ = false;
};

// The lines of a screen text (cut at LF) as data bytes, for a LineView.
std::shared_ptr<const TextViewLines> ScreenTextLines(const QString& text);

}  // namespace theolink
