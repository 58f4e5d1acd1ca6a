#pragma once
// Every fuzz target supplies a small seed corpus built in code, so a short run starts from
// inputs that already reach deep into the reader instead of from nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
std::vector<std::string> FuzzSeeds();
