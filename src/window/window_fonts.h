#pragma once
// Fonts: controls keep the platform's interface font; the text view and the grid use a
// fixed-width font that holds Chinese characters.
#include <QFont>

namespace theolink {

// "WenQuanYi Micro Hei Mono" (Debian fonts-wqy-microhei), pixelSize high, falling back to
// the system's fixed font.
QFont DataFont(int pixelSize = 16);

}  // namespace theolink
