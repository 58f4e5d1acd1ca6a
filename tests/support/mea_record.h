#pragma once
// One 48-byte record of a binary .mea job, built field by field for the tests that open one.
#include <cstring>
#include <string>

namespace theolink::test {

// Type, name, code, height, then north, east, elevation.
inline std::string MeaRecord(int type, const std::string& name, double n, double e, double z) {
  std::string record(48, '\0');
  record[0] = static_cast<char>(type);
  record.replace(1, name.size(), name);
  const float height = 1.5f;
  std::memcpy(&record[20], &height, 4);
  std::memcpy(&record[24], &n, 8);
  std::memcpy(&record[32], &e, 8);
  std::memcpy(&record[40], &z, 8);
  return record;
}

}  // namespace theolink::test
