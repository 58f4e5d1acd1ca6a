#pragma once
// Text from a file or the wire made safe to echo on a terminal or in a message.
#include <cstddef>
#include <string>
#include <string_view>

namespace theolink {

// text with every control byte (0-31, 127) written as \xNN (tab, CR and LF as \t, \r, \n),
// so no escape sequence reaches a terminal; bytes of 128 and above pass unchanged. Cut to
// at most limit bytes of text, followed by "..." when something was left out.
std::string VisibleText(std::string_view text, std::size_t limit = 300);

}  // namespace theolink
