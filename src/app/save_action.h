#pragma once
// The window's one way into saving: the working data in the format of a save filter, or
// the text view's lines as they stand, written whole to the chosen file.
#include <string>

#include "app/save_plan.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"
#include "records/user_message.h"

namespace theolink {

// Writes data in the format of filter filterIndex of its DataKind's save filter. On a
// refusal or failure the target is as it was. Says why it did not happen, or that it
// happened without the temporary file that keeps the old one safe (with the file and the
// system's reason as argument); nothing otherwise. Both saves report
// to progress; a cancel there (TaskCancelled) leaves the target as it was.
UserMessage SaveWorkingData(const WorkingData& data, int filterIndex, const std::string& path,
                            const Settings& settings, TaskProgress* progress = nullptr);
// Writes what job names: the view's lines as they stand, or the data in the chosen format.
UserMessage RunSave(const SaveJob& job, const WorkingData& data, LineSpan viewLines, const Settings& settings,
                    TaskProgress* progress = nullptr);
// Writes lines, each followed by CR LF.
UserMessage SaveViewLines(LineSpan lines, const std::string& path, TaskProgress* progress = nullptr);

}  // namespace theolink
