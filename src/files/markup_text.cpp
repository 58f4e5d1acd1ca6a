#include "files/markup_text.h"

#include <array>
#include <charconv>
#include <cmath>

#include "files/text_encoding.h"

namespace theolink {

std::string DataTextUtf8(std::string_view bytes) {
  std::string text = HasNonAscii(bytes) ? GbkToUtf8(bytes) : std::string(bytes);
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    // XML 1.0 holds no control character but tab and line ends, and those would not survive
    // an attribute; DEL is kept out too.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      out += "\xEF\xBF\xBD";
    } else {
      out += c;
    }
  }
  return out;
}

void AppendXmlText(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
}

void AppendXmlData(std::string& out, std::string_view before, std::string_view dataBytes, std::string_view after) {
  out += before;
  AppendXmlText(out, DataTextUtf8(dataBytes));
  out += after;
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      constexpr std::string_view hex = "0123456789abcdef";
      out += "\\u00";
      out += hex[static_cast<unsigned char>(c) >> 4];
      out += hex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendDecimals(std::string& out, double value, int decimals) {
  std::array<char, 400> buffer;
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  std::string_view text(buffer.data(), static_cast<std::size_t>(r.ptr - buffer.data()));
  // "-0.000000000" is zero.
  if (text.find_first_not_of("-0.") == std::string_view::npos && !text.empty() && text[0] == '-') text.remove_prefix(1);
  out += text;
}

}  // namespace theolink
