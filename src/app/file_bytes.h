#pragma once
// Reading a whole file into memory.
#include <string>

namespace theolink {

// The whole content of a regular file; false when it is missing, not a regular file or
// cannot be read to its end.
bool ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace theolink
