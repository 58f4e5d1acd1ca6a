#pragma once
// The plan canvas: paints the scene, zooms with the wheel about the pointer (or + and -),
// pans while dragged (or with the arrow keys), Home fits all, and a click on a point
// selects it (and tells the owner its grid row).
#include <QPoint>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "files/plan_index.h"
#include "files/plan_scene.h"
#include "files/plan_viewport.h"

namespace theolink {

struct PlanPaint;

class PlanView final : public QWidget {
 public:
  explicit PlanView(QWidget* parent = nullptr);

  // A new scene, fitted whole into the view.
  void SetScene(std::shared_ptr<const PlanScene> scene);
  const PlanScene* Scene() const { return scene_.get(); }
  const PlanIndex& Index() const { return index_; }
  const PlanViewport& Viewport() const { return view_; }
  void SetViewport(const PlanViewport& view);
  void FitAll();
  // Highlights the point of a grid row (none when no point has it).
  void SelectRow(std::size_t row);
  std::optional<std::size_t> SelectedPoint() const { return selected_; }
  // What PaintPlan needs for this view, at its current viewport.
  PlanPaint Paint() const;

  // A click selected a point that has a grid row.
  std::function<void(std::size_t row)> OnRowClicked;
  static constexpr int FitMargin = 40;
  static constexpr int LabelRoom = 100;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::shared_ptr<const PlanScene> scene_;
  PlanIndex index_;
  PlanViewport view_;
  std::optional<std::size_t> selected_;
  std::optional<QPoint> pressedAt_;
  QPoint lastDrag_;
  bool dragged_ = false;
  bool fitted_ = true;  // not zoomed or panned since the last fit: a resize fits again
};

}  // namespace theolink
