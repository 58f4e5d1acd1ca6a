#pragma once
// The one place where bytes become screen text and back: data (names, codes, received
// lines) is GBK; the program's own texts are UTF-8.
#include <QString>
#include <string>
#include <string_view>

namespace theolink {

// Data bytes (GBK) as screen text; plain ASCII takes a fast path.
QString DisplayText(std::string_view gbk);
// Screen text as data bytes (GBK); a character GBK cannot hold becomes '?'.
std::string DataText(const QString& text);
// One of the program's own texts (the bilingual table, the help) as screen text.
inline QString UiText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace theolink
