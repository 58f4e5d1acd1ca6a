#pragma once
// Texts for the formats other software reads as UTF-8 (XML, JSON, CSV with a header): names
// and codes decoded from the instrument's code page and escaped for the format.
#include <string>
#include <string_view>

namespace theolink {

// Data bytes (GBK) as UTF-8; a control character becomes U+FFFD, which every format holds.
std::string DataTextUtf8(std::string_view bytes);
// UTF-8 text in an XML attribute or element: & < > " ' as entities.
void AppendXmlText(std::string& out, std::string_view utf8);
// before, the data bytes decoded and escaped for XML, then after: an element
// ("<name>", ..., "</name>") or an attribute (" name=\"", ..., "\"").
void AppendXmlData(std::string& out, std::string_view before, std::string_view dataBytes, std::string_view after);
// UTF-8 text as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view utf8);
// A number with the given decimals, whatever the locale.
void AppendDecimals(std::string& out, double value, int decimals);

}  // namespace theolink
