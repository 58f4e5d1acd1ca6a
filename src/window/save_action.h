#pragma once
// The window's one way into saving: the working data in the format of a save filter, or
// the text view's lines as they stand, written whole to the chosen file.
#include <optional>
#include <string>

#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// What the user is told after a save: why it did not happen, or that it happened without
// the temporary file that keeps the old one safe. The table's message, and the file (with
// the system's reason when the file itself failed; empty for a refusal).
struct SaveNotice {
  TextId message;
  std::string detail;
  std::string value = {};  // the message's %1 (UTF-8)
};

// Writes data in the format of filter filterIndex of its DataKind's save filter. On a
// refusal or failure the target is as it was. Nothing to tell: nullopt. Both saves report
// to progress; a cancel there (TaskCancelled) leaves the target as it was.
std::optional<SaveNotice> SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                                          const Settings& settings, TaskProgress* progress = nullptr);
// Writes lines, each followed by CR LF.
std::optional<SaveNotice> SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress = nullptr);

}  // namespace theolink
