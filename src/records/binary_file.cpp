#include "records/binary_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace theolink {

std::int32_t LoadBinaryFile(const std::string& path, std::string& bytes, bool& readFailed) {
  bytes.clear();
  readFailed = false;
  // Opening a pipe, socket or device can wait for a peer for good; only files and folders
  // (which open and then fail to read) are opened.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (!ec && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory)
    return kBinaryCannotOpen;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return kBinaryCannotOpen;
  constexpr std::size_t kChunk = 1 << 16;
  for (;;) {
    // A device or pipe behind the name could deliver without end; no instrument file
    // comes near this size, so reading stops here as a failed read.
    if (bytes.size() >= kMaxBinaryFileSize) {
      readFailed = true;
      return kBinaryOk;
    }
    const std::size_t old = bytes.size();
    bytes.resize(old + kChunk);
    const std::size_t got = std::fread(bytes.data() + old, 1, kChunk, file.get());
    bytes.resize(old + got);
    if (got < kChunk) {
      readFailed = std::ferror(file.get()) != 0;
      return kBinaryOk;
    }
  }
}

std::string_view RecordView::Text(std::size_t at, std::size_t width) const {
  const char* start = reinterpret_cast<const char*>(p_ + at);
  const void* zero = std::memchr(start, 0, width);
  return std::string_view(start, zero ? static_cast<const char*>(zero) - start : width);
}

}  // namespace theolink
