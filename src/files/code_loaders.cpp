#include <string_view>

#include "files/field_splitter.h"
#include "files/line_loaders.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

void InstallCodes(WorkingData& data, std::vector<CodeEntry>&& codes, const TextCutter& cutter) {
  ClearCoordData(data);
  ClearMeasureData(data);
  ClearCodeData(data);
  data.Cuts = cutter.Finish({});
  data.CodeList = std::move(codes);
}

}  // namespace

bool LoadCodeLines(WorkingData& data, const LineList& lines) { return LoadCodeLines(data, ViewsOf(lines)); }

bool LoadCodeLines(WorkingData& data, LineSpan lines, TaskProgress* progress) {
  if (lines.empty()) return false;
  std::vector<CodeEntry> codes;
  codes.reserve(lines.size());
  TextCutter cutter;
  for (const std::string_view line : lines) {
    ReportEvery(progress, codes.size(), lines.size());
    if (TrimEnd(line).find_first_of(".,: ") != std::string_view::npos) return false;
    // The line is kept as it stands; only trailing blanks past the field may be lost.
    CodeEntry entry;
    entry.Code.Assign(TrimEnd(line).size() > NameText::Capacity ? cutter.Cut(line) : line);
    codes.push_back(entry);
  }
  InstallCodes(data, std::move(codes), cutter);
  return true;
}

bool LoadCodeTableLines(WorkingData& data, const LineList& lines) {
  return LoadCodeTableLines(data, ViewsOf(lines));
}

bool LoadCodeTableLines(WorkingData& data, LineSpan lines, TaskProgress* progress) {
  if (lines.empty()) return false;
  std::vector<CodeEntry> codes;
  codes.reserve(lines.size());
  TextCutter cutter;
  LineList fields;
  for (const std::string_view line : lines) {
    ReportEvery(progress, codes.size(), lines.size());
    if (SplitQuotedFields(line, ':', fields) != 10) return false;
    const std::string_view code = line.substr(0, line.find(':'));
    CodeEntry entry;
    entry.Code.Assign(cutter.Cut(code));
    codes.push_back(entry);
  }
  InstallCodes(data, std::move(codes), cutter);
  return true;
}

}  // namespace theolink
