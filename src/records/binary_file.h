#pragma once
// Byte-level access to the instrument's binary files: reading a file in chunks, and reading
// little-endian fields and fixed-width texts out of one record.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace theolink {

// Result codes shared by every binary reader; the numbers are the ones the open messages
// are chosen by, so they stay as they are.
enum BinaryResult : std::int32_t {
  kBinaryOk = 0,
  kBinaryCannotOpen = -1,
  kBinaryEmpty = -2,        // the file ends inside its header or type byte
  kBinaryReadFailed = -3,   // a read failed or a record is incomplete
  kBinaryBadRecordType = -4,
  kBinaryBadData = -5,      // has a message, though no reader gives it today
  kBinaryBadFileType = -6,
  // A .mea file that reads cleanly as 48-byte records up to a last one cut short, where the
  // other layout fails too. (-7 stays unused: it was always an unknown code.)
  kBinaryCutShort = -8,
};

// Largest file content read; what lies beyond counts as unreadable. Reading is streamed, so
// this only stops a source that never ends; no instrument file comes near it.
inline constexpr std::size_t kMaxBinaryFileSize = std::size_t{1} << 30;

// A binary file read front to back in fixed chunks, so a reader's memory stays the same
// whatever the file's size.
class BinaryFile {
 public:
  BinaryFile() = default;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // kBinaryOk, or kBinaryCannotOpen (also for a pipe, socket or device in the file's place).
  std::int32_t Open(const std::string& path);
  // The bytes from pos on: at least need of them unless the content ends first. Valid until
  // the next call; going back before the last pos reads the file again from there.
  std::string_view From(std::size_t pos, std::size_t need);
  // Whether the content ended at a read error (or at kMaxBinaryFileSize) rather than at the
  // end of the file; known once From came back short.
  bool ReadFailed() const { return failed_; }

 private:
  void Restart(std::size_t pos);
  void ReadChunk(std::size_t pos);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
  std::string buffer_;  // the file's bytes from base_ on
  std::size_t base_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

// A file's content as the readers see it: bytes in memory, or a BinaryFile read as they go.
class BinaryInput {
 public:
  // Content already read; readFailed tells whether reading stopped at an error after these
  // bytes (true) or at the end of the file (false).
  BinaryInput(std::string_view bytes, bool readFailed = false) : bytes_(bytes), readFailed_(readFailed) {}
  explicit BinaryInput(BinaryFile& file) : file_(&file) {}

  // As BinaryFile::From.
  std::string_view From(std::size_t pos, std::size_t need) const {
    if (file_) return file_->From(pos, need);
    return bytes_.substr(pos < bytes_.size() ? pos : bytes_.size());
  }
  bool ReadFailed() const { return file_ ? file_->ReadFailed() : readFailed_; }

 private:
  std::string_view bytes_;
  bool readFailed_ = false;
  BinaryFile* file_ = nullptr;
};

// One fixed-size record. Offsets are checked by the layouts, which only ever read within
// the record size they asked for.
class RecordView {
 public:
  explicit RecordView(const char* data) : p_(reinterpret_cast<const unsigned char*>(data)) {}

  std::int8_t I8(std::size_t at) const { return static_cast<std::int8_t>(p_[at]); }
  std::uint8_t U8(std::size_t at) const { return p_[at]; }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(p_[at]) | static_cast<std::uint32_t>(p_[at + 1]) << 8 |
           static_cast<std::uint32_t>(p_[at + 2]) << 16 | static_cast<std::uint32_t>(p_[at + 3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  float F32(std::size_t at) const { return std::bit_cast<float>(U32(at)); }
  double F64(std::size_t at) const {
    return std::bit_cast<double>(static_cast<std::uint64_t>(U32(at)) |
                                 static_cast<std::uint64_t>(U32(at + 4)) << 32);
  }
  // Text of a field: up to its first zero byte, never beyond the field's width.
  std::string_view Text(std::size_t at, std::size_t width) const;

 private:
  const unsigned char* p_;
};

// The header (or leading type byte) of size bytes: kBinaryOk, or kBinaryEmpty when the file
// ends inside it, kBinaryReadFailed when reading failed inside it.
inline std::int32_t CheckHeader(const BinaryInput& in, std::size_t size) {
  if (in.From(0, size).size() >= size) return kBinaryOk;
  return in.ReadFailed() ? kBinaryReadFailed : kBinaryEmpty;
}

// Hands each whole record from pos on to handle (RecordView -> result code) until one
// returns non-zero. No whole record left: 0 at the end of the file, kBinaryReadFailed after
// a read error; a short tail at the end of the file is not read.
template <class Handle>
std::int32_t WalkRecords(const BinaryInput& in, std::size_t pos, std::size_t recordSize, Handle&& handle) {
  for (;;) {
    std::string_view bytes = in.From(pos, recordSize);
    if (bytes.size() < recordSize) return in.ReadFailed() ? kBinaryReadFailed : kBinaryOk;
    for (; bytes.size() >= recordSize; bytes.remove_prefix(recordSize), pos += recordSize)
      if (const std::int32_t rc = handle(RecordView(bytes.data())); rc != kBinaryOk) return rc;
  }
}

}  // namespace theolink
