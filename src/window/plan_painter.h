#pragma once
// Paints a plan scene on any paint device (the view, a PNG, an SVG, a printer): rays,
// residual vectors, marks, labels, a north arrow and scale bars.
#include <QColor>
#include <QString>
#include <cstddef>
#include <optional>

#include "files/plan_index.h"
#include "files/plan_scene.h"
#include "files/plan_viewport.h"

class QPainter;

namespace theolink {

// The colours, for the picture test to look for.
inline const QColor PlanBackground{255, 255, 255};
inline const QColor PlanBacksightRayColor{0, 90, 220};
inline const QColor PlanShotRayColor{150, 200, 150};
inline const QColor PlanPointColor{20, 20, 20};
inline const QColor PlanShotColor{0, 120, 0};
inline const QColor PlanStationColor{210, 30, 30};
inline const QColor PlanResidualColor{200, 0, 200};
inline const QColor PlanSelectedColor{255, 140, 0};

inline constexpr int PlanMarkSize = 7;  // pixels across a point's mark

struct PlanPaint {
  const PlanScene* Scene = nullptr;
  const PlanIndex* Index = nullptr;
  PlanViewport View;
  std::optional<std::size_t> Selected;  // a point index
  QString ResidualCaption;              // "Residuals" in the current language
};

// Paints the whole viewport, background included.
void PaintPlan(QPainter& painter, const PlanPaint& plan);

}  // namespace theolink
