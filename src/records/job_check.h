#pragma once
// Reading a whole keyword-line job: the one path both the window's loader and `check` take,
// so they cannot disagree. Gives the headers, every record, and where and why the first
// failure happened.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/line_list.h"
#include "records/line_source.h"
#include "records/measure_record.h"
#include "records/result_texts.h"

namespace theolink {

enum class JobCheckStage { Passed, TooFewLines, Preprocess, Record };

struct JobCheckResult {
  JobCheckStage Stage = JobCheckStage::Passed;
  std::int32_t Code = 0;      // the failing step's PreprocessResult or RecordResult
  std::size_t Position = 0;   // 1-based: the input line (Preprocess) or the entry (Record)
  std::string Line;           // that input line, or the first line of that entry
  std::size_t RecordCount = 0;
  std::size_t Cuts = 0;       // names and codes cut to fit a record
  bool HasHeaders = false;    // entries 1 and 2 are JOB and INST
  std::string JobName;        // kNoName and kUnknownInstrument without headers
  std::string InstrumentName;
};

// Refuses fewer than two lines, as the window's loader does; otherwise preprocesses the lines
// and parses every record, stopping at the first failure. When records is given it receives
// every record read, in order (on failure, those before it).
// The records are built once, in place, in a list reserved to the exact count.
JobCheckResult ReadKeywordJob(LineSpan lines, std::vector<MeasureRecord>* records);
// The same over lines read one at a time (read twice: the source is rewound).
JobCheckResult ReadKeywordJob(LineSource& lines, std::vector<MeasureRecord>* records);
JobCheckResult ReadKeywordJob(const LineList& lines, std::vector<MeasureRecord>* records);

// Where a job's records go when it is not held whole.
class JobRecordSink {
 public:
  virtual ~JobRecordSink() = default;
  // Once the first two entries have told whether they are headers: the job's names.
  virtual void Start(const JobCheckResult& head) = 0;
  // The next records in order, the whole list. The sink may keep them by swapping the list
  // for another (the reader sizes it again).
  virtual void Take(std::vector<MeasureRecord>& records) = 0;
};
// ReadKeywordJob handing the records to sink a run of at most `run` at a time, so that only
// one run is held, in one walk over the lines. Passes exactly when ReadKeywordJob does; on
// failure the sink may have had runs before it, whose output is to be thrown away, and the
// failure found first may be another (a record before a line that does not preprocess).
JobCheckResult ReadKeywordJob(LineSource& lines, JobRecordSink& sink, std::size_t run);

// ReadKeywordJob without keeping the records.
JobCheckResult CheckKeywordJob(const LineList& lines);
JobCheckResult CheckKeywordJob(LineSpan lines);

}  // namespace theolink
