#pragma once
// The plan as a picture: PNG or SVG bytes of what the view shows, and a printed page.
#include <QByteArray>
#include <QString>

#include "window/plan_painter.h"

class QImage;
class QPrinter;

namespace theolink {

class PlanView;

enum class PlanPictureFormat { Png, Svg };

// The format a save dialog's answer names: the file's ending when it is .png or .svg,
// else the chosen filter's (1 PNG, 2 SVG).
PlanPictureFormat PlanFormatFor(const std::string& path, int filterIndex);
// The picture at the viewport's size.
QByteArray PlanPicture(const PlanPaint& plan, PlanPictureFormat format, const QString& title);
// The view's scene fitted whole into a picture of width x height, with its selection.
QImage PlanImage(const PlanView& view, int width, int height);
// One page: the view's part of the plan fitted to the printable area, kept in proportion.
// False when the printer could not be started.
bool PrintPlan(QPrinter& printer, const PlanPaint& plan);

}  // namespace theolink
