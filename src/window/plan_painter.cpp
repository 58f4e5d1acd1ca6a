#include "window/plan_painter.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "window/display_text.h"

namespace theolink {
namespace {

QPointF At(const PlanViewport& view, double north, double east) {
  const ScreenPoint s = view.ToScreen(north, east);
  return {s.X, s.Y};
}

QString LengthText(double metres) {
  if (metres >= 1000) return QString::number(metres / 1000, 'g', 6) + QStringLiteral(" km");
  if (metres >= 1) return QString::number(metres, 'g', 6) + QStringLiteral(" m");
  if (metres >= 0.01) return QString::number(metres * 100, 'g', 6) + QStringLiteral(" cm");
  return QString::number(metres * 1000, 'g', 6) + QStringLiteral(" mm");
}

// A bar of length pixels at the bottom left, its text above it.
void ScaleBar(QPainter& p, QPointF left, double pixels, const QString& text, const QColor& colour) {
  p.setPen(QPen(colour, 2));
  p.drawLine(left, left + QPointF(pixels, 0));
  p.drawLine(left + QPointF(0, -4), left + QPointF(0, 4));
  p.drawLine(left + QPointF(pixels, -4), left + QPointF(pixels, 4));
  p.drawText(left + QPointF(0, -6), text);
}

void NorthArrow(QPainter& p, const PlanViewport& view) {
  const QPointF tip(view.Width - 24, 12);
  QPolygonF arrow;
  arrow << tip << tip + QPointF(8, 26) << tip + QPointF(0, 20) << tip + QPointF(-8, 26);
  p.setPen(QPen(PlanPointColor, 1));
  p.setBrush(PlanPointColor);
  p.drawPolygon(arrow);
  p.setBrush(Qt::NoBrush);
  const QFontMetrics metrics(p.font());
  p.drawText(QPointF(tip.x() - metrics.horizontalAdvance(QLatin1Char('N')) / 2.0, tip.y() + 28 + metrics.ascent()),
             QStringLiteral("N"));
}

// A station (triangle) or a backsight (disc); other points are drawn in batches.
void Mark(QPainter& p, QPointF at, std::uint8_t marks) {
  const double r = PlanMarkSize / 2.0;
  if (marks & PlanMarkStation) {
    QPolygonF triangle;
    triangle << at + QPointF(0, -r - 2) << at + QPointF(r + 1, r) << at + QPointF(-r - 1, r);
    p.setPen(QPen(PlanStationColor, 1));
    p.setBrush(PlanStationColor);
    p.drawPolygon(triangle);
  } else {
    p.setPen(QPen(PlanBacksightRayColor, 1));
    p.setBrush(PlanBacksightRayColor);
    p.drawEllipse(at, r, r);
  }
  p.setBrush(Qt::NoBrush);
}

}  // namespace

void PaintPlan(QPainter& p, const PlanPaint& plan) {
  const PlanViewport& view = plan.View;
  p.save();
  p.fillRect(QRectF(0, 0, view.Width, view.Height), PlanBackground);
  if (plan.Scene == nullptr || plan.Index == nullptr) {
    p.restore();
    return;
  }
  const PlanScene& scene = *plan.Scene;
  const PlanVisibleSet shown = SelectVisible(scene, *plan.Index, view);

  // Lines in batches: one call per colour, not one per ray.
  std::vector<QLineF> shots, backsights;
  for (std::size_t i : shown.Rays) {
    const PlanRay& r = scene.Rays[i];
    (r.Kind == PlanRayKind::Shot ? shots : backsights)
        .emplace_back(At(view, r.FromNorth, r.FromEast), At(view, r.ToNorth, r.ToEast));
  }
  p.setPen(QPen(PlanShotRayColor, 1));
  p.drawLines(shots.data(), static_cast<int>(shots.size()));
  p.setPen(QPen(PlanBacksightRayColor, 2));
  p.drawLines(backsights.data(), static_cast<int>(backsights.size()));

  // Residuals of a few centimetres would not show at the plan's scale: the largest is drawn
  // at least 40 pixels long, never shorter than it is.
  double residualScale = 0;
  if (scene.LargestResidual > 0) {
    residualScale = std::max(view.Scale, 40 / scene.LargestResidual);
    p.setPen(QPen(PlanResidualColor, 2));
    for (std::size_t i : shown.Residuals) {
      const PlanResidual& r = scene.Residuals[i];
      // Ends at the stored point; at the plan's own scale it starts at the computed one.
      const QPointF tip = At(view, r.North, r.East);
      const QPointF base = tip - QPointF(r.DeltaEast * residualScale, -r.DeltaNorth * residualScale);
      p.drawLine(base, tip);
      const QLineF line(tip, base);
      if (line.length() > 6) {
        QLineF barb(tip, base);
        barb.setLength(6);
        barb.setAngle(line.angle() + 25);
        p.drawLine(barb);
        barb.setAngle(line.angle() - 25);
        p.drawLine(barb);
      }
    }
  }

  if (shown.Labels) {
    p.setPen(QColor(60, 60, 60));
    for (std::size_t i : shown.Points) {
      const PlanPoint& point = scene.Points[i];
      QString label = DisplayText(point.Name);
      if (!point.Code.empty()) label += QLatin1Char(' ') + DisplayText(point.Code);
      p.drawText(At(view, point.North, point.East) + QPointF(PlanMarkSize, -PlanMarkSize / 2.0), label);
    }
  }
  // Marks last: nothing hides a point.
  p.setRenderHint(QPainter::Antialiasing, false);
  // Plain points and reduced shots in one call each; the few stations and backsights alone.
  std::vector<QRectF> plain, reduced;
  const double r = PlanMarkSize / 2.0 - 1;
  for (std::size_t i : shown.Points) {
    const PlanPoint& point = scene.Points[i];
    const QPointF at = At(view, point.North, point.East);
    if (point.Marks & (PlanMarkStation | PlanMarkBacksight)) Mark(p, at, point.Marks);
    else ((point.Marks & PlanMarkShot) ? reduced : plain).emplace_back(at.x() - r, at.y() - r, 2 * r, 2 * r);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(PlanPointColor);
  p.drawRects(plain.data(), static_cast<int>(plain.size()));
  p.setBrush(PlanShotColor);
  p.drawRects(reduced.data(), static_cast<int>(reduced.size()));
  p.setBrush(Qt::NoBrush);
  if (plan.Selected && *plan.Selected < scene.Points.size()) {
    const PlanPoint& point = scene.Points[*plan.Selected];
    p.setPen(QPen(PlanSelectedColor, 3));
    p.drawEllipse(At(view, point.North, point.East), PlanMarkSize + 2.0, PlanMarkSize + 2.0);
    if (!shown.Labels) {
      p.setPen(PlanPointColor);
      p.drawText(At(view, point.North, point.East) + QPointF(PlanMarkSize + 4, -PlanMarkSize), DisplayText(point.Name));
    }
  }

  NorthArrow(p, view);
  const double metres = NiceLength(120 / view.Scale);
  if (metres > 0) ScaleBar(p, QPointF(12, view.Height - 14), metres * view.Scale, LengthText(metres), PlanPointColor);
  if (residualScale > 0) {
    const double residual = NiceLength(60 / residualScale);
    if (residual > 0)
      ScaleBar(p, QPointF(12, view.Height - 48), residual * residualScale,
               plan.ResidualCaption + QLatin1Char(' ') + LengthText(residual), PlanResidualColor);
  }
  p.restore();
}

}  // namespace theolink
