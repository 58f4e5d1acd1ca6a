#include "window/plan_export.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <string>

#include "window/plan_view.h"

namespace theolink {
namespace {

bool EndsWith(const std::string& text, const char* ending) {
  const std::string e(ending);
  if (text.size() < e.size()) return false;
  return std::equal(e.rbegin(), e.rend(), text.rbegin(), [](char a, char b) {
    return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
  });
}

}  // namespace

PlanPictureFormat PlanFormatFor(const std::string& path, int filterIndex) {
  if (EndsWith(path, ".svg")) return PlanPictureFormat::Svg;
  if (EndsWith(path, ".png")) return PlanPictureFormat::Png;
  return filterIndex == 2 ? PlanPictureFormat::Svg : PlanPictureFormat::Png;
}

QByteArray PlanPicture(const PlanPaint& plan, PlanPictureFormat format, const QString& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == PlanPictureFormat::Png) {
    QImage image(plan.View.Width, plan.View.Height, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      PaintPlan(painter, plan);
    }
    image.save(&buffer, "PNG");
    return bytes;
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(plan.View.Width, plan.View.Height));
  svg.setViewBox(QRect(0, 0, plan.View.Width, plan.View.Height));
  svg.setTitle(title);
  {
    QPainter painter(&svg);
    PaintPlan(painter, plan);
  }
  return bytes;
}

QImage PlanImage(const PlanView& view, int width, int height) {
  PlanPaint plan = view.Paint();
  plan.View = FitPlan(view.Scene() != nullptr ? view.Scene()->Bounds : PlanBounds{}, width, height, PlanView::FitMargin, PlanView::LabelRoom);
  QImage image(plan.View.Width, plan.View.Height, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPlan(painter, plan);
  return image;
}

bool PrintPlan(QPrinter& printer, const PlanPaint& plan) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale =
      std::min(page.width() / static_cast<double>(plan.View.Width), page.height() / static_cast<double>(plan.View.Height));
  // Painted at the view's pixel size, then scaled to the page: labels keep their size
  // relative to the plan as it was seen.
  painter.scale(scale, scale);
  PaintPlan(painter, plan);
  painter.end();
  return true;
}

}  // namespace theolink
