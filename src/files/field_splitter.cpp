#include "files/field_splitter.h"

namespace theolink {
namespace {

bool IsSeparatorBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

LineList SplitQuotedFields(std::string_view line, char delimiter) {
  LineList fields;
  SplitQuotedFields(line, delimiter, fields);
  return fields;
}

namespace {

// The walk both splitters take: a zero byte ends the text (as in the zero-terminated lines
// these files came from), blanks and the delimiter stand between fields, and a delimiter at
// the very end gives one last empty field. take gets each unquoted field; quoted gets the
// position of an opening quote and returns where its field ends, or npos to stop (false).
template <class Take, class Quoted>
bool WalkFields(std::string_view line, char delimiter, Take&& take, Quoted&& quoted) {
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto skipBlanks = [&] {
    while (i < n && IsSeparatorBlank(line[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    if (line[i] == '"') {
      if ((i = quoted(line, i)) == std::string_view::npos) return false;
    } else {
      const std::size_t start = i;
      while (i < n && !IsSeparatorBlank(line[i]) && line[i] != delimiter) ++i;
      take(line.substr(start, i - start));
    }
    skipBlanks();
    if (i < n && line[i] == delimiter) {
      if (i + 1 == n) take(line.substr(n));  // empty, and pointing into the line
      ++i;
      skipBlanks();
    }
  }
  return true;
}

}  // namespace

std::size_t SplitQuotedFields(std::string_view line, char delimiter, LineList& fields) {
  std::size_t count = 0;
  // The next field, in a string kept from an earlier line when there is one.
  auto next = [&]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
  };
  WalkFields(
      line, delimiter, [&](std::string_view text) { next().assign(text); },
      [&](std::string_view text, std::size_t i) {
        std::string& field = next();
        for (++i; i < text.size();) {
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            return i + 1;
          }
          field += text[i++];
        }
        return i;
      });
  fields.resize(count);
  return count;
}

bool SplitUnquotedFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields) {
  fields.clear();
  return WalkFields(
      line, delimiter, [&](std::string_view text) { fields.push_back(text); },
      [](std::string_view, std::size_t) { return std::string_view::npos; });
}

}  // namespace theolink
