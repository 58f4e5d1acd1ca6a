#pragma once
// Opening a file as the Open button does, after the dialog: probe text or binary, read
// binary jobs and coordinate lists through the binary readers, classify text by content.
// Nothing is shown here; the caller shows the returned messages in order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/result_messages.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/file_name_parts.h"
#include "records/line_list.h"
#include "records/line_output.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

struct OpenOutcome {
  std::vector<UserMessage> Messages;
  // False when the file could not even be probed: the views stay as they were. Otherwise
  // the window rebuilds its views from the working data.
  bool RefreshViews = false;
};

// The numbers are the ones the open messages are chosen by.
enum ProbeResult : int {
  ProbeText = 1,
  ProbeBinary = 2,  // a byte outside printable ASCII and white space within the first 100
  ProbeCannotOpen = -1,
  ProbeEmpty = -2,
  ProbeReadFailed = -3,  // nothing could be read
};

ProbeResult ProbeFileKind(const std::string& path);

// The extensions the binary job readers and the binary coordinate readers take (lower case).
bool IsMeasureExtension(const std::string& ext);
bool IsCoordExtension(const std::string& ext);
// A binary job as keyword lines, under a JOB line named after the file and an INST line, as
// Open loads it; the binary reader's result.
std::int32_t ReadMeasureBinaryJob(const std::string& path, LineOutput& lines);

// An open done aside, without any working data at hand: what it does to the working data,
// for ApplyOpen to put there. Lets an open run on a thread of its own.
struct OpenedData {
  OpenOutcome Outcome;
  bool Loaded = false;  // Data holds a new data set: its lists, names and cuts replace the old
  WorkingData Data;
  std::optional<theolink::DataKind> DataKind;  // the mode the open sets, also when nothing loaded
};

// The whole open operation on a chosen file.
OpenOutcome OpenDataFile(WorkingData& data, const std::string& path, const Settings& settings);
// The same, aside. Reading and loading report to progress, which may cancel (TaskCancelled).
OpenedData OpenDataFileAside(const std::string& path, const Settings& settings, TaskProgress* progress = nullptr);
// Puts an open done aside into data as OpenDataFile would have; the messages to show.
OpenOutcome ApplyOpen(WorkingData& data, OpenedData&& opened);
// A file that probed as binary, dispatched by its extension. One whose extension names no
// binary reader is tried as text before it is refused.
OpenOutcome OpenBinaryFile(WorkingData& data, const std::string& path, const Settings& settings);
OpenOutcome OpenMeasureBinary(WorkingData& data, const std::string& path);
OpenOutcome OpenCoordBinary(WorkingData& data, const std::string& path);

// Drops every line that is empty after trimming; the others keep order and text.
void RemoveBlankLines(LineList& lines);
void RemoveBlankLines(LineViews& lines);

}  // namespace theolink
