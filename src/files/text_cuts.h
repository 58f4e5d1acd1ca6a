#pragma once
// Names and codes longer than the 15 characters a record holds are cut, not refused: the
// file opens, and the last load tells how many values were cut and which points the cut
// made share a name.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/measure_record.h"

namespace theolink {

struct TextCuts {
  std::size_t Count = 0;
  // Two names as the file held them that are one name after the cut.
  std::vector<std::pair<std::string, std::string>> SharedNames;
};

// Collects the cuts of one load.
class TextCutter {
 public:
  // The part of a name or code field a record keeps: at most 15 characters, blanks left at
  // the end by the cut dropped (they would not read back).
  std::string_view Cut(std::string_view text);
  // Cut for the name of the point about to be added at index: remembered for SharedNames.
  std::string_view CutName(std::string_view text, std::size_t index);
  // The report over the points the load built.
  TextCuts Finish(const std::vector<PointRecord>& points) const;

 private:
  std::size_t count_ = 0;
  std::vector<std::pair<std::size_t, std::string>> cutNames_;  // point index, name in the file
};

}  // namespace theolink
