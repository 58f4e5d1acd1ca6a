#include "app/ini_file.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "app/config_location.h"
#include "files/file_io.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr std::size_t npos = std::string::npos;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Narrows [begin, end) of text past blanks and control characters at both ends.
void TrimRange(const std::string& text, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlankByte(text[begin])) ++begin;
  while (end > begin && IsBlankByte(text[end - 1])) --end;
}

// Trimmed, without line breaks, so nothing written can split a line.
std::string OneLine(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (char c : Trim(text)) {
    if (c != '\r' && c != '\n') clean += c;
  }
  return clean;
}

}  // namespace

std::string FormatGeneral15(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) return "0";
  return std::string(buffer, result.ptr);
}

IniFile::Line IniFile::Classify(std::string text) {
  Line line;
  line.text = std::move(text);
  const std::string& t = line.text;
  std::size_t begin = 0, end = t.size();
  TrimRange(t, begin, end);
  if (begin == end || t[begin] == ';' || t[begin] == '#') return line;
  if (t[begin] == '[') {
    const std::size_t close = t.find(']', begin + 1);
    if (close == npos || close >= end) return line;
    line.kind = Line::Header;
    line.nameBegin = begin + 1;
    line.nameEnd = close;
    TrimRange(t, line.nameBegin, line.nameEnd);
    return line;
  }
  const std::size_t equals = t.find('=', begin);
  if (equals == npos || equals >= end) return line;
  line.nameBegin = begin;
  line.nameEnd = equals;
  TrimRange(t, line.nameBegin, line.nameEnd);
  if (line.nameBegin == line.nameEnd) return line;
  line.valueBegin = equals + 1;
  line.valueEnd = end;
  TrimRange(t, line.valueBegin, line.valueEnd);
  line.kind = Line::Entry;
  return line;
}

IniFile IniFile::Parse(std::string_view content) {
  IniFile ini;
  // Editors that save UTF-8 may put a byte-order mark first; it must not hide the first
  // section header.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    ini.byteOrderMark_ = true;
    content.remove_prefix(kByteOrderMark.size());
  }
  std::size_t start = 0;
  bool endSeen = false;
  while (start < content.size()) {
    std::size_t lf = content.find('\n', start);
    const bool last = lf == npos;
    if (last) lf = content.size();
    std::size_t stop = lf;
    const bool crlf = stop > start && content[stop - 1] == '\r';
    // Every CR before the break goes, so that writing the line back cannot change it.
    while (stop > start && content[stop - 1] == '\r') --stop;
    if (!last && !endSeen) {
      ini.lineEnd_ = crlf ? "\r\n" : "\n";
      endSeen = true;
    }
    ini.lines_.push_back(Classify(std::string(content.substr(start, stop - start))));
    start = lf + 1;
  }
  return ini;
}

IniFile IniFile::Load(const std::string& path) {
  std::string content;
  if (!ReadWholeFile(path, content).Ok()) return IniFile();
  return Parse(content);
}

std::size_t IniFile::FindSection(std::string_view section) const {
  const std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind != Line::Header) continue;
    const std::string_view name(line.text.data() + line.nameBegin, line.nameEnd - line.nameBegin);
    if (EqualNoCase(name, wanted)) return i;
  }
  return npos;
}

std::size_t IniFile::FindKey(std::size_t header, std::string_view key) const {
  const std::string_view wanted = Trim(key);
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Line::Header) break;
    if (line.kind != Line::Entry) continue;
    const std::string_view name(line.text.data() + line.nameBegin, line.nameEnd - line.nameBegin);
    if (EqualNoCase(name, wanted)) return i;
  }
  return npos;
}

std::optional<std::string> IniFile::ReadString(std::string_view section,
                                               std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == npos) return std::nullopt;
  const std::size_t index = FindKey(header, key);
  if (index == npos) return std::nullopt;
  const Line& line = lines_[index];
  return line.text.substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const std::optional<std::string> text = ReadString(section, key);
  if (!text || text->empty()) return fallback;
  const char* first = text->data();
  const char* last = first + text->size();
  // from_chars takes no '+'; a lone sign must still fail.
  if (*first == '+') {
    ++first;
    if (first == last || *first == '-') return fallback;
  }
  int value = 0;
  const auto result = std::from_chars(first, last, value, 10);
  if (result.ec != std::errc() || result.ptr != last) return fallback;
  return value;
}

double IniFile::ReadReal(std::string_view section, std::string_view key, double fallback) const {
  const std::optional<std::string> text = ReadString(section, key);
  double value = 0;
  if (!text || !TryParseNumber(*text, value)) return fallback;
  return value;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string clean = OneLine(value);
  const std::string keyName = OneLine(key);
  const std::string sectionName = OneLine(section);
  std::size_t header = FindSection(sectionName);
  if (header == npos) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line());
    lines_.push_back(Classify("[" + sectionName + "]"));
    lines_.push_back(Classify(std::string(keyName) + "=" + clean));
    return;
  }
  const std::size_t index = FindKey(header, keyName);
  if (index != npos) {
    // Keep the key as the file spells it.
    const Line& old = lines_[index];
    lines_[index] =
        Classify(old.text.substr(old.nameBegin, old.nameEnd - old.nameBegin) + "=" + clean);
    return;
  }
  // After the section's last non-blank line, so blank lines between sections stay between.
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Header; ++i) {
    if (!Trim(lines_[i].text).empty()) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                Classify(std::string(keyName) + "=" + clean));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  WriteString(section, key,
              std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void IniFile::WriteReal(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, FormatGeneral15(value));
}

std::string IniFile::Serialize() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + lineEnd_.size();
  std::string out;
  out.reserve(size + 3);
  if (byteOrderMark_) out += "\xEF\xBB\xBF";
  for (const Line& line : lines_) {
    out += line.text;
    out += lineEnd_;
  }
  return out;
}

bool IniFile::Save(const std::string& path) const {
  if (path.empty()) return false;
  const std::string data = Serialize();
  AtomicFileWriter writer(path);
  if (!writer.Status().Ok()) {
    // Last resort when the folder refuses new files but the file itself may be written: the
    // settings are not lost, at the price of a write that is not atomic.
    return IsWritable(path) && RewriteFileInPlace(path, data).Ok();
  }
  writer.Write(data);
  return writer.Commit().Ok();
}

}  // namespace theolink
