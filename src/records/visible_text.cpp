#include "records/visible_text.h"

#include <algorithm>

namespace theolink {

std::string VisibleText(std::string_view text, std::size_t limit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(std::min(text.size(), limit) + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::string piece;
    if (c == '\t') {
      piece = "\\t";
    } else if (c == '\r') {
      piece = "\\r";
    } else if (c == '\n') {
      piece = "\\n";
    } else if (c < 32 || c == 127) {
      piece = {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    } else {
      piece = std::string(1, static_cast<char>(c));
    }
    if (out.size() + piece.size() > limit) return out + "...";
    out += piece;
  }
  return out;
}

}  // namespace theolink
