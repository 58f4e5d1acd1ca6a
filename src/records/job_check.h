#pragma once
// Reading a whole keyword-line job the way the main window loads one, without keeping it:
// the headers, every record, and where and why the first failure happened.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/line_list.h"

namespace theolink {

enum class JobCheckStage { Passed, TooFewLines, Preprocess, Record };

struct JobCheckResult {
  JobCheckStage Stage = JobCheckStage::Passed;
  std::int32_t Code = 0;      // the failing step's result code
  std::size_t Position = 0;   // 1-based: the input line (Preprocess) or the entry (Record)
  std::string Line;           // that input line, or the first line of that entry
  std::size_t RecordCount = 0;
  bool HasHeaders = false;    // entries 1 and 2 are JOB and INST
  std::string JobName;        // "NONAME" and "UNKNOW" without headers
  std::string InstrumentName;
};

// Refuses fewer than two lines, as the window's loader does; otherwise preprocesses the lines
// and parses every record, stopping at the first failure.
JobCheckResult CheckKeywordJob(const LineList& lines);

// Short English texts for the result codes of PreprocessLines and ParseRecord.
std::string_view PreprocessFailureText(std::int32_t code);
std::string_view RecordFailureText(std::int32_t code);

}  // namespace theolink
