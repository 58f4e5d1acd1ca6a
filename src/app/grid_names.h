#pragma once
// Names in a grid (column 1 of its rows): which are held by more than one row, kept up to
// date one name at a time so a change costs the same in a grid of any size, and the row a
// surveyor looks for by name.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/grid_write_back.h"

namespace theolink {

class NameCounts {
 public:
  void Clear();
  // Counts every row's name afresh.
  void Count(const GridRows& rows);
  // A row took or gave up a name; empty names are not counted.
  void Add(const std::string& name);
  void Remove(const std::string& name);
  // True when more than one row holds name.
  bool Duplicate(const std::string& name) const;
  // How many names are held by more than one row.
  std::size_t DuplicateNames() const { return duplicates_; }

 private:
  std::unordered_map<std::string, int> counts_;
  std::size_t duplicates_ = 0;
};

// The first row after row `after` (going round past the end) whose name is name; else
// the first whose name is name with ASCII letters in either case; else the first whose
// name begins with it so. Nothing for an empty name.
std::optional<int> FindNamedRow(const GridRows& rows, std::string_view name, int after);

}  // namespace theolink
