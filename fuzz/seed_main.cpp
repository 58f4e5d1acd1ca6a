// libFuzzer start hook: writes the target's seeds into the corpus folder named by
// THEOLINK_WRITE_SEEDS before the fuzzer reads that folder.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fuzz_seeds.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* dir = std::getenv("THEOLINK_WRITE_SEEDS");
  if (dir == nullptr || *dir == '\0') return 0;
  std::filesystem::create_directories(dir);
  int n = 0;
  for (const std::string& seed : FuzzSeeds()) {
    std::ofstream out(std::filesystem::path(dir) / ("seed" + std::to_string(n++)), std::ios::binary);
    out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
  }
  return 0;
}
