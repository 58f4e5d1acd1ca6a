#pragma once
// The writers behind Save: each appends the lines of one file format to a line list.
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "files/gts7_export.h"
#include "files/line_sink.h"
#include "files/save_formats.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// Every writer appends to a line list (the window's buffer) or to any other sink, and
// never changes the working data. Those given a progress report the records, points or
// codes written so far, and may be cancelled there (TaskCancelled).

// The measurement job in a format of the job's; fileName is the chosen target (the GTS-7
// formats check its ending). The point formats extract the points into a list of their own
// (with the reduced shots when settings.ComputeShots is on). Returns the message of a
// refusal, in which case nothing was appended: a GTS-7 refusal, a missing coordinate
// system, or a point format for a job that gives no point. written, when given, gets the
// points (point formats) or the records written.
std::optional<ExportRefusal> ExportMeasureData(const WorkingData& data, LineOut lines, const SaveFormat& format,
                                        const std::string& fileName, const Settings& settings,
                                        TaskProgress* progress = nullptr, std::size_t* written = nullptr);

// ExportMeasureData a run of records at a time, so that a job need not be held whole: Begin
// once, Records for each run in order, End. Save takes the same steps over the whole list,
// so both give the same bytes. The GTS-7 refusals (Gts7Refusal) and the reduced shots of
// settings.ComputeShots are the caller's: a reduction needs the whole job.
class MeasureExport {
 public:
  MeasureExport(LineOut lines, const SaveFormat& format, const Settings& settings, TaskProgress* progress = nullptr);
  void Begin(const std::string& jobName, const std::string& instrumentName, bool hasRecords);
  void Records(std::span<const MeasureRecord> records);
  void End();
  // What a point writer refused; from then on nothing more is written.
  const std::optional<ExportRefusal>& Refusal() const { return refusal_; }
  // The points written so far (point formats only).
  std::size_t PointCount() const { return pointCount_; }

 private:
  void WritePoints(TaskProgress* progress);

  LineOut lines_;
  const SaveFormat& format_;
  const Settings& settings_;
  TaskProgress* progress_;
  Gts7Writer gts7_;
  WorkingData points_;  // a run's points, and every point for a drawing, written at the end
  bool skip_ = false;
  std::optional<ExportRefusal> refusal_;
  std::size_t pointCount_ = 0;
};

// The data in the format (of its kind): the job, the point list or the code list. written,
// when given, gets the points, records or codes written.
std::optional<ExportRefusal> ExportData(const WorkingData& data, const SaveFormat& format, LineOut lines,
                                 const std::string& fileName, const Settings& settings,
                                 TaskProgress* progress = nullptr, std::size_t* written = nullptr);

// One row per point, CoordLayoutCass or CoordLayoutGts7 (csv_rows.h).
void WriteCoordLines(const WorkingData& data, LineOut lines, int layout, const Settings& settings,
                     TaskProgress* progress = nullptr);
// The keyword-line work file, always in whole arc seconds and metres. An empty (or blank)
// job name is written as "NONAME" and an empty instrument text as "UNKNOWN", the names the
// loader gives a job without header, so the file can always be opened again.
void WriteJobFile(const WorkingData& data, LineOut lines);
// One line per code, unchanged.
void WriteCodeLines(const WorkingData& data, LineOut lines, TaskProgress* progress = nullptr);
// One upload line per point: "name code 0 N E Z 0" in metres with six decimals; an empty
// code is sent as a single backspace character.
void WriteUploadCoordLines(const WorkingData& data, LineList& lines);

}  // namespace theolink
