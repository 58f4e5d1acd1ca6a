#pragma once
// The one pair of converters between the GBK code page of the instrument's and the help
// file's Chinese text and the UTF-8 the program shows and keeps its own texts in.
#include <string>
#include <string_view>

namespace theolink {

// GBK bytes to UTF-8. A byte sequence that is not GBK becomes U+FFFD; never fails.
std::string GbkToUtf8(std::string_view gbk);
// UTF-8 to GBK bytes. A character GBK cannot hold, or a malformed sequence, becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (ASCII included).
bool IsValidUtf8(std::string_view bytes);
// True when some byte is outside ASCII.
bool HasNonAscii(std::string_view bytes);

}  // namespace theolink
