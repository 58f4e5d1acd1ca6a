#include "window/display_text.h"

#include "files/text_encoding.h"

namespace theolink {

QString DisplayText(std::string_view gbk) {
  if (!HasNonAscii(gbk)) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
  return UiText(GbkToUtf8(gbk));
}

std::string DataText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace theolink
