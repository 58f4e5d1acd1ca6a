#pragma once
// Which list the window shows and edits. The numbers are the behaviour's own mode numbers.

namespace theolink {

enum class DataKind { Measure = 1, Coord = 2, Code = 3 };

}  // namespace theolink
