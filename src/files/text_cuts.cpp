#include "files/text_cuts.h"

#include <unordered_map>

#include "records/text_trim.h"

namespace theolink {

std::string_view TextCutter::Cut(std::string_view text) {
  if (text.size() <= NameText::Capacity) return text;
  ++count_;
  return TrimEnd(text.substr(0, NameText::Capacity));
}

std::string_view TextCutter::CutName(std::string_view text, std::size_t index) {
  const std::string_view kept = Cut(text);
  if (kept.size() != text.size()) cutNames_.emplace_back(index, std::string(text));
  return kept;
}

TextCuts TextCutter::Finish(const std::vector<PointRecord>& points) const {
  TextCuts cuts;
  cuts.Count = count_;
  if (cutNames_.empty()) return cuts;
  // Stored name -> the name in the file of the first point that got it.
  std::unordered_map<std::string_view, std::string_view> first;
  std::unordered_map<std::string_view, bool> reported;
  auto cut = cutNames_.begin();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string_view stored = points[i].Name.View();
    std::string_view original = stored;
    if (cut != cutNames_.end() && cut->first == i) original = (cut++)->second;
    const auto [at, inserted] = first.emplace(stored, original);
    if (!inserted && at->second != original && !reported[stored]) {
      reported[stored] = true;
      cuts.SharedNames.emplace_back(std::string(at->second), std::string(original));
    }
  }
  return cuts;
}

}  // namespace theolink
