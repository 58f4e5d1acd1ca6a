#pragma once
// The text that names the line a send cut short, in the current program language.
#include <cstddef>
#include <string>
#include <string_view>

namespace theolink {

// line counts from 1 of total; name is shown with its control bytes made visible; why empty
// means the instrument stopped reading (the write's time limit passed).
std::string LineCutShortText(std::size_t line, std::size_t total, std::string_view name, std::size_t wholeLines,
                             std::string_view why);

}  // namespace theolink
