#pragma once
// The window's one way into saving: the working data in the format of a save filter, or
// the text view's lines as they stand, written whole to the chosen file.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/save_plan.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"
#include "records/user_message.h"

namespace theolink {

// What a written file holds, as the summary counts it.
enum class SavedKind { Points, Records, Codes, Lines };

// How much went to which file.
struct SaveSummary {
  SavedKind Kind = SavedKind::Lines;
  std::size_t Count = 0;
  std::string Path;
  friend bool operator==(const SaveSummary&, const SaveSummary&) = default;
};

// What a save tells: a notice (why it did not happen, or that it happened without the
// temporary file that keeps the old one safe, with the file and the system's reason as
// argument; empty otherwise), and the summary when the file was written.
struct SaveReport {
  UserMessage Message;
  std::optional<SaveSummary> Saved;
};

// Writes data in the format of filter filterIndex of its DataKind's save filter. On a
// refusal or failure the target is as it was. Both saves report to progress; a cancel
// there (TaskCancelled) leaves the target as it was.
SaveReport SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                           const Settings& settings, TaskProgress* progress = nullptr);
// Writes what job names: the view's lines as they stand, or the data in the chosen format.
SaveReport RunSave(const SaveJob& job, const WorkingData& data, LineSpan viewLines, const Settings& settings,
                   TaskProgress* progress = nullptr);
// Writes lines, each followed by CR LF.
SaveReport SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress = nullptr);

// "Saved 1 234 points to <shownPath>" in the language (0 Chinese, other English); shownPath
// is the file's name as UTF-8 text.
std::string SaveSummaryText(const SaveSummary& summary, std::string_view shownPath, int language);

}  // namespace theolink
