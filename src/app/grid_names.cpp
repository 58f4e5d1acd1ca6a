#include "app/grid_names.h"

#include <algorithm>

namespace theolink {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool BeginsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace

void NameCounts::Clear() {
  counts_.clear();
  duplicates_ = 0;
}

void NameCounts::Count(const GridRows& rows) {
  Clear();
  counts_.reserve(rows.size());
  for (const auto& row : rows)
    if (row.size() > 1) Add(row[1]);
}

void NameCounts::Add(const std::string& name) {
  if (name.empty()) return;
  if (++counts_[name] == 2) ++duplicates_;
}

void NameCounts::Remove(const std::string& name) {
  if (name.empty()) return;
  const auto found = counts_.find(name);
  if (found == counts_.end()) return;
  if (--found->second == 1) --duplicates_;
  if (found->second <= 0) counts_.erase(found);
}

bool NameCounts::Duplicate(const std::string& name) const {
  if (name.empty()) return false;
  const auto found = counts_.find(name);
  return found != counts_.end() && found->second > 1;
}

std::optional<int> FindNamedRow(const GridRows& rows, std::string_view name, int after) {
  const int count = static_cast<int>(rows.size());
  if (name.empty() || count == 0) return std::nullopt;
  const int start = after < 0 || after >= count ? 0 : after + 1;
  std::optional<int> anyCase, prefix;
  for (int i = 0; i < count; ++i) {
    const int r = (start + i) % count;
    const auto& row = rows[static_cast<std::size_t>(r)];
    if (row.size() < 2 || !BeginsWith(row[1], name)) continue;
    if (row[1] == name) return r;
    if (!anyCase && row[1].size() == name.size()) anyCase = r;
    if (!prefix) prefix = r;
  }
  return anyCase ? anyCase : prefix;
}

}  // namespace theolink
