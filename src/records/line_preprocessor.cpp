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

PreprocessResult WalkEntries(LineSpan input, bool join, std::size_t& failedLine, const EntryVisitor& visit) {
  failedLine = 0;
  if (input.empty()) return PreprocessEmptyInput;
  std::string joined;         // the open record when it has more than one line
  std::string_view first;     // the open record's first line
  bool open = false, multi = false;
  // The open record goes out; false when visit asks to stop.
  auto close = [&] {
    if (!open) return true;
    open = false;
    return visit(multi ? std::string_view(joined) : first);
  };
  for (std::size_t i = 0; i < input.size(); ++i) {
    const std::string_view line = input[i];
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed == "0") continue;
    switch (ClassifyKeyword(LineKeyword(line))) {
      case LineClass::Unknown:
        failedLine = i;
        return PreprocessUnknownKeyword;
      case LineClass::SingleLine:
        if (!close() || !visit(line)) return PreprocessOk;
        break;
      case LineClass::Starter:
        if (!close()) return PreprocessOk;
        first = line;
        open = true;
        multi = false;
        break;
      case LineClass::Continuation:
        if (!open) {
          failedLine = i;
          return PreprocessOrphanContinuation;
        }
        if (!join) break;
        if (!multi) {
          joined.assign(first);
          multi = true;
        }
        joined += '|';
        joined += line;
        break;
    }
  }
  close();
  return PreprocessOk;
}

PreprocessResult PreprocessLines(const LineList& input, LineList& output, std::size_t& failedLine) {
  const LineViews views = ViewsOf(input);
  return WalkEntries(views, true, failedLine, [&](std::string_view entry) {
    output.emplace_back(entry);
    return true;
  });
}

PreprocessResult PreprocessLines(const LineList& input, LineList& output) {
  std::size_t failedLine = 0;
  return PreprocessLines(input, output, failedLine);
}

HeaderResult ReadJobHeader(std::string_view entry, std::string& value) { return ReadHeader(entry, "JOB", value); }

HeaderResult ReadInstHeader(std::string_view entry, std::string& value) { return ReadHeader(entry, "INST", value); }

}  // namespace theolink
