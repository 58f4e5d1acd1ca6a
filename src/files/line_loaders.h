#pragma once
// Turning lists of text lines into working data. Each loader takes the lines as a list or
// as views into a file read whole (LineSpan); the two forms behave the same. Every loader builds aside and installs
// only when the whole input was read: a failed load changes nothing. A successful load
// empties all three lists (and the job and instrument names) before installing its own.
// Loaders leave DataKind alone; ClassifyTextLines and the open operation set it. The lines
// read are reported to progress, which may cancel the load (nothing is installed then).
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/line_source.h"
#include "records/settings.h"
#include "records/text_id.h"
#include "records/user_message.h"

namespace theolink {

// True when the first line looks like a keyword line (JOB, or a keyword without a comma).
bool IsKeywordText(const LineList& lines);
bool IsKeywordText(LineSpan lines);
bool IsKeywordLine(std::string_view firstLine);
// Installs the job and says nothing, or says which fixed English error stopped it.
UserMessage LoadMeasureLines(WorkingData& data, const LineList& lines);
UserMessage LoadMeasureLines(WorkingData& data, LineSpan lines, TaskProgress* progress = nullptr);
// False for an empty list; else whether LoadMeasureLines(...) installed the job.
bool TryLoadMeasureLines(WorkingData& data, const LineList& lines);
bool TryLoadMeasureLines(WorkingData& data, LineSpan lines, TaskProgress* progress = nullptr);
// The same over lines read one at a time; a source that failed part way loads nothing.
bool TryLoadMeasureLines(WorkingData& data, LineSource& lines);
// Joins SC+SD of one point and BS+BSS shots, in place, without a second list.
void MergeShotRecords(std::vector<MeasureRecord>& list);
// True when next joined record (an SD into its SC, a BSS shot into its BS): next is then spent.
bool JoinShot(MeasureRecord& record, const MeasureRecord& next);
// MergeShotRecords over records that come a run at a time: the last record of a run is held
// until the next run shows whether it joins. Records are handed on as spans, unmoved.
class ShotJoiner {
 public:
  using Emit = std::function<void(std::span<const MeasureRecord>)>;
  // Joins within the run (changing it) and emits what is final, in order.
  void Add(std::span<MeasureRecord> run, const Emit& emit);
  // Emits the record still held, if any.
  void Finish(const Emit& emit);

 private:
  MeasureRecord held_;
  bool holding_ = false;
};

// Point loaders for the CASS (name,code,E,N,Z) and GTS-7 (name,E,N,Z,code) layouts; values
// are read in the settings' distance unit. A name or code longer than the 15 characters a
// record holds is cut to 15 (WorkingData::Cuts tells how many).
bool LoadCassCoordLines(WorkingData& data, const LineList& lines, const Settings& settings);
bool LoadCassCoordLines(WorkingData& data, LineSpan lines, const Settings& settings, TaskProgress* progress = nullptr);
bool LoadGts7CoordLines(WorkingData& data, const LineList& lines, const Settings& settings);
bool LoadGts7CoordLines(WorkingData& data, LineSpan lines, const Settings& settings, TaskProgress* progress = nullptr);
// SC / ENZ / NEZ lines as the binary coordinate readers write them: always in metres.
bool LoadCoordRecordLines(WorkingData& data, const LineList& lines);
bool LoadCoordRecordLines(WorkingData& data, LineSpan lines, TaskProgress* progress = nullptr);

// One code per line (no '.', ',', blank or ':'), or the first field of 10-field ':' tables.
// A code longer than 15 characters is cut to 15.
bool LoadCodeLines(WorkingData& data, const LineList& lines);
bool LoadCodeLines(WorkingData& data, LineSpan lines, TaskProgress* progress = nullptr);
bool LoadCodeTableLines(WorkingData& data, const LineList& lines);
bool LoadCodeTableLines(WorkingData& data, LineSpan lines, TaskProgress* progress = nullptr);

// An opened text file: sets DataKind on success; otherwise the message to show
// (UnableToOpenEmptyFile or WrongFileFormat) and nothing changes.
std::optional<TextId> ClassifyTextLines(WorkingData& data, const LineList& lines, const Settings& settings);
std::optional<TextId> ClassifyTextLines(WorkingData& data, LineSpan lines, const Settings& settings,
                                        TaskProgress* progress = nullptr);

// The point a record carries: a station, a backsight with its coordinates, an SC shot.
std::optional<PointRecord> ExtractedPoint(const MeasureRecord& record);
// Appends the points a measurement job carries to PointList.
void ExtractCoordPoints(WorkingData& data);
// The same over a bare record list, for exports that need the points only for a moment.
void ExtractCoordPoints(std::span<const MeasureRecord> records, std::vector<PointRecord>& points);

}  // namespace theolink
