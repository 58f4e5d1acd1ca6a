#include "records/job_check.h"

#include "records/keyword_parser.h"
#include "records/measure_record.h"
#include "records/text_trim.h"

namespace theolink {

JobCheckResult CheckKeywordJob(const LineList& lines) {
  JobCheckResult result;
  if (lines.size() < 2) {
    result.Stage = JobCheckStage::TooFewLines;
    return result;
  }
  LineList entries;
  std::size_t failedLine = 0;
  result.Code = PreprocessLines(lines, entries, failedLine);
  if (result.Code != 0) {
    result.Stage = JobCheckStage::Preprocess;
    result.Position = failedLine + 1;
    result.Line = lines[failedLine];
    return result;
  }
  std::size_t start = 0;
  if (entries.size() >= 2 && ReadJobHeader(entries[0], result.JobName) == 0 &&
      ReadInstHeader(entries[1], result.InstrumentName) == 0) {
    result.HasHeaders = true;
    start = 2;
  } else {
    result.JobName = "NONAME";
    result.InstrumentName = "UNKNOW";
  }
  MeasureRecord record;
  for (std::size_t i = start; i < entries.size(); ++i) {
    result.Code = ParseRecordText(entries[i], record);
    if (result.Code != 0) {
      result.Stage = JobCheckStage::Record;
      result.Position = i + 1;
      // A NOTE entry is one line even when its text holds a '|'.
      const std::string& entry = entries[i];
      result.Line = LineKeyword(entry) == "NOTE" ? entry : entry.substr(0, entry.find('|'));
      return result;
    }
    ++result.RecordCount;
  }
  return result;
}

std::string_view PreprocessFailureText(std::int32_t code) {
  switch (code) {
    case 0: return "ok";
    case -1: return "no lines";
    case -2: return "unknown keyword";
    case -3: return "continuation line without a record";
    default: return "unknown result";
  }
}

std::string_view RecordFailureText(std::int32_t code) {
  switch (code) {
    case 0: return "ok";
    case -1: return "unexpected keyword";
    case -2: return "wrong number of items";
    case -3: return "line of 8 characters or fewer";
    case -4: return "not a record keyword";
    case -5: return "value is not a number";
    default: return "unknown result";
  }
}

}  // namespace theolink
