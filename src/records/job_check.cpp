#include "records/job_check.h"

#include <algorithm>

#include "records/default_names.h"
#include "records/keyword_parser.h"
#include "records/text_trim.h"

namespace theolink {

JobCheckResult ReadKeywordJob(const LineList& lines, std::vector<MeasureRecord>* records) {
  JobCheckResult result;
  if (lines.size() < 2) {
    result.Stage = JobCheckStage::TooFewLines;
    return result;
  }
  LineList entries;
  std::size_t failedLine = 0;
  result.Code = PreprocessLines(lines, entries, failedLine);
  if (result.Code != PreprocessOk) {
    result.Stage = JobCheckStage::Preprocess;
    result.Position = failedLine + 1;
    result.Line = lines[failedLine];
    return result;
  }
  std::size_t start = 0;
  if (entries.size() >= 2 && ReadJobHeader(entries[0], result.JobName) == HeaderOk &&
      ReadInstHeader(entries[1], result.InstrumentName) == HeaderOk) {
    result.HasHeaders = true;
    start = 2;
  } else {
    result.JobName = kNoName;
    result.InstrumentName = kUnknownInstrument;
  }
  if (records != nullptr) records->reserve(records->size() + entries.size() - std::min(start, entries.size()));
  for (std::size_t i = start; i < entries.size(); ++i) {
    MeasureRecord record;
    result.Code = ParseRecordText(entries[i], record, &result.Cuts);
    if (result.Code != RecordOk) {
      result.Stage = JobCheckStage::Record;
      result.Position = i + 1;
      // A NOTE entry is one line even when its text holds a '|'.
      const std::string& entry = entries[i];
      result.Line = LineKeyword(entry) == "NOTE" ? entry : entry.substr(0, entry.find('|'));
      return result;
    }
    if (records != nullptr) records->push_back(record);
    ++result.RecordCount;
  }
  return result;
}

JobCheckResult CheckKeywordJob(const LineList& lines) { return ReadKeywordJob(lines, nullptr); }

}  // namespace theolink
