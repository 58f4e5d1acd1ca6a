#include "window/window_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace theolink {

QFont DataFont(int pixelSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const QString family = QStringLiteral("WenQuanYi Micro Hei Mono");
  if (QFontDatabase::families().contains(family)) font.setFamilies({family});
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

}  // namespace theolink
