#include "window/line_view.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "window/display_text.h"

namespace theolink {

// One column, a row per line; the text of a row is made only when the row is drawn.
class LineModel final : public QAbstractTableModel {
 public:
  explicit LineModel(QObject* parent) : QAbstractTableModel(parent), lines_(std::make_shared<TextViewLines>()) {}

  void Set(std::shared_ptr<const TextViewLines> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
  }
  const std::shared_ptr<const TextViewLines>& Lines() const { return lines_; }
  std::string_view Line(int row) const { return lines_->Lines.Lines()[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override {
    if (parent.isValid()) return 0;
    return static_cast<int>(std::min<std::size_t>(lines_->Lines.Lines().size(), INT_MAX));
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
  void SetHeading(QString text) {
    heading_ = std::move(text);
    emit headerDataChanged(Qt::Horizontal, 0, 0);
  }
  const QString& Heading() const { return heading_; }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section != 0) return {};
    if (role == Qt::DisplayRole) return heading_;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return DisplayText(Line(index.row()));
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

 private:
  std::shared_ptr<const TextViewLines> lines_;
  QString heading_;
};

LineView::LineView(QWidget* parent) : QTableView(parent), model_(new LineModel(this)) {
  setModel(model_);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  setShowGrid(false);
  setCornerButtonEnabled(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);
  setTabKeyNavigation(false);
  setWordWrap(false);
}

void LineView::SetLines(std::shared_ptr<const TextViewLines> lines, bool wrapped) {
  // A new row height is applied to every row there is: set it while there are none.
  const int height = fontMetrics().height() + 2;
  if (verticalHeader()->defaultSectionSize() != height) {
    model_->Set(std::make_shared<TextViewLines>());
    verticalHeader()->setDefaultSectionSize(height);
  }
  wrapped_ = wrapped;
  setWordWrap(wrapped);
  setHorizontalScrollBarPolicy(wrapped ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  model_->Set(lines ? std::move(lines) : std::make_shared<TextViewLines>());
  SetHeading(QString());
  FitLines();
}

void LineView::SetHeading(const QString& text) {
  model_->SetHeading(text);
  horizontalHeader()->setVisible(!text.isEmpty());
}

QString LineView::Heading() const { return model_->Heading(); }

void LineView::clear() { SetLines(nullptr, wrapped_); }

const std::shared_ptr<const TextViewLines>& LineView::Lines() const { return model_->Lines(); }

bool LineView::IsEmpty() const {
  const LineViews& lines = model_->Lines()->Lines.Lines();
  return lines.empty() || (lines.size() == 1 && lines.front().empty());
}

QString LineView::toPlainText() const {
  QString text = QStringLiteral("");  // empty, not null, as a text control gives it
  const LineViews& lines = model_->Lines()->Lines.Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += DisplayText(lines[i]);
  }
  return text;
}

void LineView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    CopySelection();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void LineView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitLines();
}

void LineView::CopySelection() {
  // The lines in their order, whatever order they were selected in.
  std::vector<std::pair<int, int>> ranges;
  for (const QItemSelectionRange& range : selectionModel()->selection()) ranges.emplace_back(range.top(), range.bottom());
  std::sort(ranges.begin(), ranges.end());
  QString text;
  int next = 0;  // the first row not yet copied
  bool first = true;
  for (const auto& [top, bottom] : ranges) {
    for (int row = std::max(top, next); row <= bottom; ++row) {
      if (!first) text += QLatin1Char('\n');
      first = false;
      text += DisplayText(model_->Line(row));
    }
    next = std::max(next, bottom + 1);
  }
  if (!first) QGuiApplication::clipboard()->setText(text);
}

void LineView::FitLines() {
  const int width = viewport()->width();
  if (wrapped_) {
    setColumnWidth(0, width);
    resizeRowsToContents();
    return;
  }
  // The item's text margins on both sides, and a little room.
  const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 8;
  const auto longest = static_cast<qint64>(model_->Lines()->Longest);
  const qint64 text = longest * fontMetrics().horizontalAdvance(QLatin1Char('0')) + margins;
  setColumnWidth(0, static_cast<int>(std::clamp<qint64>(text, width, INT_MAX / 2)));
}

std::shared_ptr<const TextViewLines> ScreenTextLines(const QString& text) {
  LineList lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(DataText(line));
  return PackTextViewLines(ViewsOf(lines));
}

}  // namespace theolink
