#pragma once
// What Save does for the current data before any dialog opens: refuse with a notice, offer
// the mode's filters, or (a text view that shows text but holds no job, such as the help)
// offer plain text only and write the view's lines as they stand.
#include <functional>
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

// The file chosen in an open or save dialog.
struct FileChoice {
  std::string path;     // local 8-bit path
  int filterIndex = 1;  // 1-based index of the chosen filter entry
};

// What Save will write, once every question is answered.
struct SaveJob {
  FileChoice file;
  bool viewTextOnly = false;
};

// The people Save talks to: its notices, the save dialog, and OK/Cancel questions.
struct SaveTalk {
  std::function<void(TextId)> notice;
  std::function<std::optional<FileChoice>(const std::string& filter)> chooseFile;
  std::function<bool(TextId)> ask;
};

// Save up to the write: the plan's notice, the dialog on the plan's filter, and the
// question before an existing file is replaced. Nothing when there is nothing to write.
std::optional<SaveJob> DecideSave(const WorkingData& data, bool textViewHasLines, int language, const SaveTalk& talk);

// One entry of a dialog filter text.
struct FilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // "*.dat", "*.csv"
};
// Splits "description|pattern;pattern|..." into entries in order; an unpaired or empty
// tail (the English measurement filter ends in "|") adds nothing.
std::vector<FilterEntry> SplitFilter(std::string_view filter);

}  // namespace theolink
