#include "files/field_splitter.h"

namespace theolink {
namespace {

bool IsSeparatorBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

LineList SplitQuotedFields(std::string_view line, char delimiter) {
  // A zero byte ends the text, as it would in the zero-terminated lines these files came from.
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);

  LineList fields;
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto skipBlanks = [&] {
    while (i < n && IsSeparatorBlank(line[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    std::string field;
    if (line[i] == '"') {
      ++i;
      while (i < n) {
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
    } else {
      const std::size_t start = i;
      while (i < n && !IsSeparatorBlank(line[i]) && line[i] != delimiter) ++i;
      field.assign(line.substr(start, i - start));
    }
    fields.push_back(std::move(field));
    skipBlanks();
    if (i < n && line[i] == delimiter) {
      if (i + 1 == n) fields.emplace_back();
      ++i;
      skipBlanks();
    }
  }
  return fields;
}

}  // namespace theolink
