#pragma once
// Assembles binary job and coordinate files field by field, little-endian, the way the
// instrument lays them out, and writes them to a private temporary folder.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace theolink::test {

class Record {
 public:
  explicit Record(std::size_t size, char fill = '\0') : bytes_(size, fill) {}

  Record& U8(std::size_t at, unsigned v) { return Put(at, v & 0xFFu, 1); }
  Record& I8(std::size_t at, int v) { return Put(at, static_cast<std::uint8_t>(v), 1); }
  Record& U32(std::size_t at, std::uint32_t v) { return Put(at, v, 4); }
  Record& I32(std::size_t at, std::int32_t v) { return Put(at, static_cast<std::uint32_t>(v), 4); }
  Record& F32(std::size_t at, float v) { return Put(at, std::bit_cast<std::uint32_t>(v), 4); }
  Record& F64(std::size_t at, double v) { return Put(at, std::bit_cast<std::uint64_t>(v), 8); }
  // The text's bytes only: a text as wide as its field gets no terminating zero.
  Record& Text(std::size_t at, std::string_view text) {
    EXPECT_LE(at + text.size(), bytes_.size()) << "text runs past the record";
    bytes_.replace(at, text.size(), text);
    return *this;
  }
  const std::string& Bytes() const { return bytes_; }
  operator const std::string&() const { return bytes_; }  // NOLINT(google-explicit-constructor)

 private:
  Record& Put(std::size_t at, std::uint64_t v, std::size_t width) {
    EXPECT_LE(at + width, bytes_.size()) << "field runs past the record";
    for (std::size_t i = 0; i < width && at + i < bytes_.size(); ++i)
      bytes_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return *this;
  }
  std::string bytes_;
};

// A temporary folder per test, removed afterwards.
class TempFolder {
 public:
  // Test programs of several builds run side by side: the name is unique across processes.
  TempFolder() : temp_("theolink_binary"), dir_(temp_.Path()) {
    if (temp_.Path().empty()) ADD_FAILURE() << "no temporary folder";
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes bytes to a file of this name in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const auto path = dir_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  TempDir temp_;
  std::filesystem::path dir_;
};

}  // namespace theolink::test
