#pragma once
// What Save does for the current data before any dialog opens: refuse with a notice, offer
// the mode's filters, or (a text view that shows text but holds no job, such as the help)
// offer plain text only and write the view's lines as they stand.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/working_data.h"
#include "records/text_id.h"

namespace theolink {

struct SavePlan {
  std::optional<TextId> notice;  // set: show it, nothing is saved
  std::string filter;            // "description|pattern|..." in the language given
  bool viewTextOnly = false;     // write the text view's lines instead of the data
};

SavePlan PlanSave(const WorkingData& data, bool textViewHasLines, int language);

// One entry of a dialog filter text.
struct FilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // "*.dat", "*.csv"
};
// Splits "description|pattern;pattern|..." into entries in order; an unpaired or empty
// tail (the English measurement filter ends in "|") adds nothing.
std::vector<FilterEntry> SplitFilter(std::string_view filter);

}  // namespace theolink
