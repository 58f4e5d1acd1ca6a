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

std::size_t SplitQuotedFields(std::string_view line, char delimiter, LineList& fields) {
  // A zero byte ends the text, as it would in the zero-terminated lines these files came from.
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);

  std::size_t count = 0;
  // The next field, in a string kept from an earlier line when there is one.
  auto next = [&]() -> std::string& {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    return field;
  };
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto skipBlanks = [&] {
    while (i < n && IsSeparatorBlank(line[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    std::string& field = next();
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
    skipBlanks();
    if (i < n && line[i] == delimiter) {
      if (i + 1 == n) next();
      ++i;
      skipBlanks();
    }
  }
  fields.resize(count);
  return count;
}

bool SplitUnquotedFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields) {
  fields.clear();
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto skipBlanks = [&] {
    while (i < n && IsSeparatorBlank(line[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    if (line[i] == '"') return false;
    const std::size_t start = i;
    while (i < n && !IsSeparatorBlank(line[i]) && line[i] != delimiter) ++i;
    fields.push_back(line.substr(start, i - start));
    skipBlanks();
    if (i < n && line[i] == delimiter) {
      if (i + 1 == n) fields.emplace_back();
      ++i;
      skipBlanks();
    }
  }
  return true;
}

}  // namespace theolink
