#pragma once
// Files for the app-layer tests, in the shared temporary folder.
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_dir.h"

namespace theolink::test {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace theolink::test
