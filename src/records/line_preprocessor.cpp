#include <string>
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

PreprocessResult WalkEntries(LineSource& input, bool join, std::size_t& failedLine, const EntryVisitor& visit,
                             std::string* failedText) {
  failedLine = 0;
  std::string joined;  // the open record: its first line, and with join its continuations
  bool open = false;
  // The open record goes out; false when visit asks to stop.
  auto close = [&] {
    if (!open) return true;
    open = false;
    return visit(joined);
  };
  auto fail = [&](std::size_t i, std::string_view line, PreprocessResult result) {
    failedLine = i;
    if (failedText != nullptr) failedText->assign(line);
    return result;
  };
  std::string_view line;
  std::size_t i = 0;
  for (; input.Next(line); ++i) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed == "0") continue;
    switch (ClassifyKeyword(LineKeyword(line))) {
      case LineClass::Unknown:
        return fail(i, line, PreprocessUnknownKeyword);
      case LineClass::SingleLine:
        if (!close() || !visit(line)) return PreprocessOk;
        break;
      case LineClass::Starter:
        if (!close()) return PreprocessOk;
        // Copied: the source may reuse the line's bytes once the next line is read.
        joined.assign(line);
        open = true;
        break;
      case LineClass::Continuation:
        if (!open) return fail(i, line, PreprocessOrphanContinuation);
        if (!join) break;
        joined += '|';
        joined += line;
        break;
    }
  }
  if (i == 0) return PreprocessEmptyInput;
  close();
  return PreprocessOk;
}

PreprocessResult WalkEntries(LineSpan input, bool join, std::size_t& failedLine, const EntryVisitor& visit) {
  SpanLineSource source(input);
  return WalkEntries(source, join, failedLine, visit);
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
