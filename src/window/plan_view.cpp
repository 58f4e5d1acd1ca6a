#include "window/plan_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/text_table.h"
#include "window/display_text.h"
#include "window/plan_painter.h"

namespace theolink {

PlanView::PlanView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PlanView"));
  setMinimumSize(120, 120);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::OpenHandCursor);
  view_.Width = std::max(1, width());
  view_.Height = std::max(1, height());
}

void PlanView::SetScene(std::shared_ptr<const PlanScene> scene) {
  scene_ = std::move(scene);
  index_ = scene_ ? PlanIndex(*scene_) : PlanIndex();
  selected_.reset();
  FitAll();
}

void PlanView::SetViewport(const PlanViewport& view) {
  view_ = view;
  fitted_ = false;
  update();
}

void PlanView::FitAll() {
  view_ = FitPlan(scene_ ? scene_->Bounds : PlanBounds{}, width(), height(), FitMargin, LabelRoom);
  fitted_ = true;
  update();
}

void PlanView::SelectRow(std::size_t row) {
  selected_.reset();
  if (scene_) {
    // Rows ascend along the points of a point list.
    const auto& points = scene_->Points;
    const auto found = std::lower_bound(points.begin(), points.end(), row,
                                        [](const PlanPoint& p, std::size_t r) { return p.Row < r; });
    if (found != points.end() && found->Row == row) selected_ = static_cast<std::size_t>(found - points.begin());
  }
  update();
}

PlanPaint PlanView::Paint() const {
  PlanPaint paint;
  paint.Scene = scene_.get();
  paint.Index = &index_;
  paint.View = view_;
  paint.Selected = selected_;
  paint.ResidualCaption = UiText(PickText(TextId::PlanResiduals));
  return paint;
}

void PlanView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintPlan(painter, Paint());
}

void PlanView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (fitted_) {
    FitAll();
    return;
  }
  // The same centre and scale: a wider view shows more, not a different place.
  view_.Width = std::max(1, width());
  view_.Height = std::max(1, height());
}

void PlanView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  const QPointF at = event->position();
  SetViewport(ZoomPlan(view_, std::pow(1.25, steps), at.x(), at.y()));
  event->accept();
}

void PlanView::keyPressEvent(QKeyEvent* event) {
  const double step = std::max(20, std::min(width(), height()) / 8);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: SetViewport(ZoomPlan(view_, 1.25, width() / 2.0, height() / 2.0)); break;
    case Qt::Key_Minus: SetViewport(ZoomPlan(view_, 0.8, width() / 2.0, height() / 2.0)); break;
    case Qt::Key_Left: SetViewport(PanPlan(view_, step, 0)); break;
    case Qt::Key_Right: SetViewport(PanPlan(view_, -step, 0)); break;
    case Qt::Key_Up: SetViewport(PanPlan(view_, 0, step)); break;
    case Qt::Key_Down: SetViewport(PanPlan(view_, 0, -step)); break;
    case Qt::Key_Home: FitAll(); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressedAt_ = event->position().toPoint();
  lastDrag_ = *pressedAt_;
  dragged_ = false;
}

void PlanView::mouseMoveEvent(QMouseEvent* event) {
  if (!pressedAt_) return;
  const QPoint now = event->position().toPoint();
  // A hand that shakes while clicking is not a pan.
  if (!dragged_ && (now - *pressedAt_).manhattanLength() < 4) return;
  if (!dragged_) setCursor(Qt::ClosedHandCursor);
  dragged_ = true;
  const QPoint delta = now - lastDrag_;
  lastDrag_ = now;
  SetViewport(PanPlan(view_, delta.x(), delta.y()));
}

void PlanView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressedAt_) return;
  const QPoint at = *pressedAt_;
  pressedAt_.reset();
  setCursor(Qt::OpenHandCursor);
  if (dragged_ || !scene_) return;
  selected_ = HitTest(*scene_, index_, view_, at.x(), at.y());
  update();
  if (selected_ && scene_->Points[*selected_].Row != PlanNoRow && OnRowClicked) OnRowClicked(scene_->Points[*selected_].Row);
}

}  // namespace theolink
