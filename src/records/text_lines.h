#pragma once
// Cutting raw file bytes into text lines.
#include <string_view>

#include "records/line_list.h"

namespace theolink {

// Cuts bytes at every CR LF, LF or lone CR; the bytes of each line are kept as they are.
// A final line needs no line end, and a line end at the very end adds no empty line.
LineList SplitTextLines(std::string_view bytes);
// The same lines as views into bytes.
LineViews SplitLineViews(std::string_view bytes);

}  // namespace theolink
