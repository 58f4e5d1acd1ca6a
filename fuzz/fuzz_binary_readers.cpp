// Binary job and coordinate readers on arbitrary bytes. The first byte picks the layout
// (low three bits) and whether reading stops with a read error after the bytes (bit 3); the
// rest is the file's content.
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_seeds.h"
#include "records/binary_layouts.h"

namespace {

using Layout = std::int32_t (*)(const theolink::BinaryInput&, theolink::LineList&);
constexpr Layout kLayouts[8] = {
    theolink::ReadLayoutM48,  theolink::ReadLayoutM56, theolink::ReadLayoutD96, theolink::ReadLayoutJ112,
    theolink::ReadLayoutJ136, theolink::ReadLayoutP56, theolink::ReadLayoutP40, theolink::ReadMeaLayouts,
};

// One record of the given size with a type byte, a name and little-endian doubles.
std::string Record(std::size_t size, int type, std::size_t nameAt, const char* name,
                   std::initializer_list<std::pair<std::size_t, double>> values) {
  std::string r(size, '\0');
  r[0] = static_cast<char>(type);
  std::memcpy(r.data() + nameAt, name, std::strlen(name));
  for (const auto& [at, v] : values) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) r[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const theolink::BinaryInput in{
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), (data[0] & 8) != 0};
  theolink::LineList lines;
  const std::int32_t rc = kLayouts[data[0] & 7](in, lines);
  if (rc != 0 && rc != -2 && rc != -3 && rc != -4 && rc != -6 && rc != -8) __builtin_trap();
  for (const std::string& line : lines)
    if (line.size() < 8 || line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  return 0;
}

std::vector<std::string> FuzzSeeds() {
  std::vector<std::string> seeds;
  auto add = [&](char selector, const std::string& content) { seeds.push_back(std::string(1, selector) + content); };
  const double inf = __builtin_inf();
  // M48 and the .mea choice: station, backsight by bearing, shots, a skipped record.
  std::string m48 = "\x01" + Record(48, 1, 1, "ST", {{24, 100}, {32, 200}, {40, 10}}) +
                    Record(48, 4, 1, "BK", {{24, 150}, {32, 250}}) + Record(48, 3, 1, "B", {{24, 1e9}}) +
                    Record(48, 8, 1, "P", {{24, inf}, {32, -1e308}}) + Record(48, 13, 1, "", {});
  add(0, m48);
  add(7, m48);
  add(8, m48.substr(0, 60));
  add(7, m48.substr(0, 165));  // cut short inside its fourth record, which M56 cannot read either
  std::string m56 = "\x02" + Record(56, 1, 1, "ST", {{24, 1}, {32, 2}, {40, 3}}) +
                    Record(56, 6, 1, "S", {{40, 12.5}}) + Record(56, 8, 1, "\x7f" "DEL", {});
  add(1, m56);
  add(7, m56 + "\x05");
  std::string d96(96, 'h');
  for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11})
    d96 += Record(96, type, 1, type == 8 ? "note\r\ntext" : "P", {{32, 5}, {40, 3600}, {56, 1}, {88, 1.5}});
  add(2, d96);
  std::string j112(112, 'h');
  for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 11})
    j112 += Record(112, type, 1, type == 8 ? "a note" : "P", {{48, 1}, {72, 3600}, {88, type == 2 ? 0 : 4.5}});
  add(3, j112);
  std::string j136(48, 'h');
  for (int type : {1, 2, 3, 5, 6, 9}) j136 += Record(136, type, 16, "P", {{56, 7}, {64, 8}, {96, 9}});
  j136[48 + 4 * 136 + 27] = 1;  // the type 6 record carries its backsight point
  add(4, j136);
  add(5, Record(56, 11, 1, "P1", {{32, 1}, {40, 2}}) + Record(56, 10, 1, "", {}) + Record(56, 12, 1, "", {}));
  add(6, Record(40, 0, 0, "P40", {{16, 100.5}, {24, 200.25}, {32, 10}}) + std::string(39, 'x'));
  return seeds;
}
