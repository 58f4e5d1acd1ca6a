#pragma once
// Every file and every transfer is an ordered list of 8-bit text lines, kept as bytes.
#include <string>
#include <vector>

namespace theolink {

using LineList = std::vector<std::string>;

}  // namespace theolink
