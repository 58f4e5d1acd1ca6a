// GBK and UTF-8 through iconv.
#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "files/text_encoding.h"

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
