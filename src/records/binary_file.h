#pragma once
// Byte-level access to the instrument's binary files: loading a file whole, and reading
// little-endian fields and fixed-width texts out of one record.
#include <bit>
#include <cstddef>
#include <cstdint>
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

// A file's content as far as it could be read. readFailed tells whether reading stopped at
// an error after these bytes (true) or at the end of the file (false).
struct BinaryInput {
  std::string_view bytes;
  bool readFailed = false;
};

// Largest file content read; what lies beyond counts as unreadable.
inline constexpr std::size_t kMaxBinaryFileSize = std::size_t{256} << 20;

// Reads the whole file into bytes. Returns kBinaryOk or kBinaryCannotOpen (also for a pipe,
// socket or device in the file's place); a read error
// part way (or a file beyond kMaxBinaryFileSize) keeps what came before and sets readFailed.
std::int32_t LoadBinaryFile(const std::string& path, std::string& bytes, bool& readFailed);

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
  if (in.bytes.size() >= size) return kBinaryOk;
  return in.readFailed ? kBinaryReadFailed : kBinaryEmpty;
}

// Hands each whole record from pos on to handle (RecordView -> result code) until one
// returns non-zero. No whole record left: 0 at the end of the file, kBinaryReadFailed after
// a read error; a short tail at the end of the file is not read.
template <class Handle>
std::int32_t WalkRecords(const BinaryInput& in, std::size_t pos, std::size_t recordSize, Handle&& handle) {
  const std::string_view bytes = in.bytes;
  while (bytes.size() - pos >= recordSize) {
    if (const std::int32_t rc = handle(RecordView(bytes.data() + pos)); rc != kBinaryOk) return rc;
    pos += recordSize;
  }
  return in.readFailed ? kBinaryReadFailed : kBinaryOk;
}

}  // namespace theolink
