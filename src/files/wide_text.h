#pragma once
// Windows only: the UTF-8 this program keeps its paths and texts in, and the UTF-16 the
// system's wide-character calls take.
#include <string>
#include <string_view>

namespace theolink {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

}  // namespace theolink
