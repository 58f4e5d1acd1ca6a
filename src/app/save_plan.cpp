#include "app/save_plan.h"

#include <filesystem>
#include <system_error>

#include "app/text_table.h"
#include "files/save_formats.h"

namespace theolink {

SavePlan PlanSave(const WorkingData& data, bool textViewHasLines, int language) {
  SavePlan plan;
  switch (data.DataKind) {
    case DataKind::Measure:
      if (!textViewHasLines) {
        plan.notice = TextId::NoDataToSave;
      } else if (!data.MeasurementList.empty()) {
        plan.filter = SaveFilterText(DataKind::Measure, language);
      } else {
        plan.filter = "*.txt|*.txt";
        plan.viewTextOnly = true;
      }
      break;
    case DataKind::Coord:
      if (data.PointList.empty()) plan.notice = TextId::NoDataToSave;
      else plan.filter = SaveFilterText(DataKind::Coord, language);
      break;
    case DataKind::Code:
      if (data.CodeList.empty()) plan.notice = TextId::NoDataToSave;
      else plan.filter = SaveFilterText(DataKind::Code, language);
      break;
  }
  return plan;
}

std::optional<SaveJob> DecideSave(const WorkingData& data, bool textViewHasLines, int language, const SaveTalk& talk) {
  const SavePlan plan = PlanSave(data, textViewHasLines, language);
  if (plan.notice) {
    talk.notice(*plan.notice);
    return std::nullopt;
  }
  std::optional<FileChoice> file = talk.chooseFile(plan.filter);
  if (!file) return std::nullopt;
  std::error_code ec;
  if (std::filesystem::exists(file->path, ec) && !talk.ask(TextId::AskReplaceFile)) return std::nullopt;
  return SaveJob{std::move(*file), plan.viewTextOnly};
}

std::vector<FilterEntry> SplitFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  std::vector<FilterEntry> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) continue;
    FilterEntry entry;
    entry.description = parts[i];
    std::string_view patterns = parts[i + 1];
    std::size_t from = 0;
    for (;;) {
      const std::size_t semi = patterns.find(';', from);
      const std::string_view one = patterns.substr(from, semi == std::string_view::npos ? std::string_view::npos : semi - from);
      if (!one.empty()) entry.patterns.emplace_back(one);
      if (semi == std::string_view::npos) break;
      from = semi + 1;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace theolink
