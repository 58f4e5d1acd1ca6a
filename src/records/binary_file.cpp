#include "records/binary_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>

namespace theolink {
namespace {

// Big enough that the per-call cost vanishes, small enough to stay in cache.
constexpr std::size_t kChunk = std::size_t{1} << 16;

}  // namespace

std::int32_t BinaryFile::Open(const std::string& path) {
  file_.reset();
  buffer_.clear();
  base_ = 0;
  ended_ = failed_ = false;
  // Opening a pipe, socket or device can wait for a peer for good; only files and folders
  // (which open and then fail to read) are opened.
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (!ec && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory)
    return kBinaryCannotOpen;
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) return kBinaryCannotOpen;
  buffer_.reserve(2 * kChunk);
  return kBinaryOk;
}

std::string_view BinaryFile::From(std::size_t pos, std::size_t need) {
  if (pos < base_) Restart(pos);
  while (!ended_ && base_ + buffer_.size() < pos + need) ReadChunk(pos);
  const std::size_t at = pos - base_;
  return at < buffer_.size() ? std::string_view(buffer_).substr(at) : std::string_view();
}

void BinaryFile::Restart(std::size_t pos) {
  buffer_.clear();
  base_ = pos;
  ended_ = failed_ = false;
  if (!file_ || pos > static_cast<std::size_t>(LONG_MAX) ||
      std::fseek(file_.get(), static_cast<long>(pos), SEEK_SET) != 0)
    ended_ = failed_ = true;
}

void BinaryFile::ReadChunk(std::size_t pos) {
  // What lies before pos is done with; only a record's cut-off head moves to the front.
  const std::size_t done = std::min(pos - base_, buffer_.size());
  buffer_.erase(0, done);
  base_ += done;
  // A device or pipe behind the name could deliver without end; reading stops here as a
  // failed read.
  if (!file_ || base_ + buffer_.size() >= kMaxBinaryFileSize) {
    ended_ = failed_ = true;
    return;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_.get());
  buffer_.resize(old + got);
  if (got < kChunk) {
    ended_ = true;
    failed_ = std::ferror(file_.get()) != 0;
  }
}

std::string_view RecordView::Text(std::size_t at, std::size_t width) const {
  const char* start = reinterpret_cast<const char*>(p_ + at);
  const void* zero = std::memchr(start, 0, width);
  return std::string_view(start, zero ? static_cast<const char*>(zero) - start : width);
}

}  // namespace theolink
