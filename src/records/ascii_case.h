#pragma once
// The one case fold for names, extensions and keywords: ASCII letters only, whatever the
// locale, so a Turkish or German user gets the same file types as everyone else.
#include <string>
#include <string_view>

namespace theolink {

// A copy with 'A'..'Z' turned into 'a'..'z'; every other byte as it was.
std::string LowerAscii(std::string_view text);

}  // namespace theolink
