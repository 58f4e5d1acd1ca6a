// Without libFuzzer: runs the built-in seeds and every file named on the command line once.
#include <fstream>
#include <iostream>
#include <iterator>

#include "fuzz_seeds.h"

int main(int argc, char** argv) {
  auto run = [](const std::string& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  for (const std::string& seed : FuzzSeeds()) run(seed);
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << "cannot read " << argv[i] << '\n';
      return 1;
    }
    run(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  return 0;
}
