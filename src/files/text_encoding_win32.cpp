// GBK and UTF-8 through the system's code page 936.
#include <windows.h>

#include "files/text_encoding.h"

namespace theolink {
namespace {

constexpr UINT kGbkCodePage = 936;

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

std::string FromWide(UINT codePage, const std::wstring& wide, const char* replacement) {
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, replacement, nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), n, replacement, nullptr);
  return bytes;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (!HasNonAscii(gbk)) return std::string(gbk);
  // Pair by pair, as the iconv build does: a byte that starts no GBK pair (0x80, 0xFF, a lead
  // byte without its trail) becomes U+FFFD and the next byte is read afresh.
  std::wstring wide;
  wide.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80) {
      wide += static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    wchar_t ch = 0;
    const bool pair = lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size() &&
                      ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, gbk.data() + i, 2, &ch, 1) == 1;
    wide += pair ? ch : L'\xFFFD';
    i += pair ? 2 : 1;
  }
  return FromWide(CP_UTF8, wide, nullptr);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (!HasNonAscii(utf8)) return std::string(utf8);
  // Character by character, as the iconv build does: one '?' for a character GBK cannot hold
  // and one for each byte that starts no well-formed sequence.
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t length = 1;
    while (length < 4 && i + length <= utf8.size() && !IsValidUtf8(utf8.substr(i, length))) ++length;
    if (i + length > utf8.size() || !IsValidUtf8(utf8.substr(i, length))) {
      out += '?';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) {
        ++i;
      }
      continue;
    }
    const std::wstring wide = ToWide(CP_UTF8, utf8.substr(i, length));
    BOOL lost = FALSE;
    const int size = static_cast<int>(wide.size());
    char bytes[8] = {};
    const int n = wide.size() == 1 ? ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                                           bytes, sizeof bytes, "?", &lost)
                                   : 0;
    if (n <= 0 || lost) {
      out += '?';
    } else {
      out.append(bytes, static_cast<std::size_t>(n));
    }
    i += length;
  }
  return out;
}

}  // namespace theolink
