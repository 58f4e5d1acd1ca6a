#include <string_view>

#include "records/keyword_parser.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

enum class LineClass { Unknown, SingleLine, Starter, Continuation };

// The keyword tables are fixed, so a switch over the few candidates replaces a lookup set.
LineClass ClassifyKeyword(std::string_view keyword) {
  if (keyword == "STA" || keyword == "BS" || keyword == "SA" || keyword == "SD" || keyword == "SC")
    return LineClass::Starter;
  if (keyword == "XYZ" || keyword == "HVD" || keyword == "HV" || keyword == "ENZ" || keyword == "NEZ")
    return LineClass::Continuation;
  if (keyword == "JOB" || keyword == "INST" || keyword == "BKB" || keyword == "NOTE") return LineClass::SingleLine;
  return LineClass::Unknown;
}

HeaderResult ReadHeader(std::string_view entry, std::string_view keyword, std::string& value) {
  if (entry.size() <= 8) return HeaderTooShort;
  if (LineKeyword(entry) != keyword) return HeaderWrongKeyword;
  value.assign(entry.substr(8));
  return HeaderOk;
}

}  // namespace

PreprocessResult PreprocessLines(const LineList& input, LineList& output, std::size_t& failedLine) {
  failedLine = 0;
  if (input.empty()) return PreprocessEmptyInput;
  std::string current;
  bool open = false;
  for (std::size_t i = 0; i < input.size(); ++i) {
    const std::string& line = input[i];
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed == "0") continue;
    switch (ClassifyKeyword(LineKeyword(line))) {
      case LineClass::Unknown:
        failedLine = i;
        return PreprocessUnknownKeyword;
      case LineClass::SingleLine:
        if (open) {
          output.push_back(std::move(current));
          current.clear();
          open = false;
        }
        output.push_back(line);
        break;
      case LineClass::Starter:
        if (open) output.push_back(std::move(current));
        current.assign(line);
        open = true;
        break;
      case LineClass::Continuation:
        if (!open) {
          failedLine = i;
          return PreprocessOrphanContinuation;
        }
        current.reserve(current.size() + 1 + line.size());
        current += '|';
        current += line;
        break;
    }
  }
  if (!current.empty()) output.push_back(std::move(current));
  return PreprocessOk;
}

PreprocessResult PreprocessLines(const LineList& input, LineList& output) {
  std::size_t failedLine = 0;
  return PreprocessLines(input, output, failedLine);
}

HeaderResult ReadJobHeader(std::string_view entry, std::string& value) { return ReadHeader(entry, "JOB", value); }

HeaderResult ReadInstHeader(std::string_view entry, std::string& value) { return ReadHeader(entry, "INST", value); }

}  // namespace theolink
