#include "files/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace theolink {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts everything; on a byte that cannot be converted appends the replacement and
  // skips one input byte, or one whole UTF-8 character when the input is UTF-8.
  std::string Run(std::string_view input, std::string_view replacement, bool inputIsUtf8) {
    std::string out;
    out.reserve(input.size() * 3 / 2 + 16);
    char buffer[4096];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t rc = iconv(handle_, &in, &inLeft, &dst, &dstLeft);
      const int error = errno;  // before the append, which may allocate
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (error == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end): replace and move on.
      out += replacement;
      std::size_t skip = 1;
      if (inputIsUtf8) {
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      }
      in += skip;
      inLeft -= skip;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t handle_;
};

}  // namespace

bool HasNonAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2, min = 0x80, code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, min = 0x800, code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, min = 0x10000, code = b & 0x07;
    } else {
      return false;
    }
    if (n - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string GbkToUtf8(std::string_view gbk) {
  if (!HasNonAscii(gbk)) return std::string(gbk);
  Converter converter("UTF-8", "GBK");
  if (!converter.ok()) return std::string(gbk);
  return converter.Run(gbk, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (!HasNonAscii(utf8)) return std::string(utf8);
  Converter converter("GBK", "UTF-8");
  if (!converter.ok()) return std::string(utf8);
  return converter.Run(utf8, "?", true);
}

}  // namespace theolink
