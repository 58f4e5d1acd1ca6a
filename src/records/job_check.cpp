#include "records/job_check.h"

#include <algorithm>

#include "records/default_names.h"
#include "records/keyword_parser.h"
#include "records/text_trim.h"

namespace theolink {

JobCheckResult ReadKeywordJob(LineSource& lines, std::vector<MeasureRecord>* records) {
  JobCheckResult result;
  std::string_view line;
  if (!lines.Next(line) || !lines.Next(line) || !lines.Rewind()) {
    result.Stage = JobCheckStage::TooFewLines;
    return result;
  }
  // First walk: the whole text must preprocess before any record counts, and it gives the
  // number of entries and the two that may be headers. Headers are single lines, so the
  // first line of an entry is all they need.
  std::size_t failedLine = 0, entries = 0;
  std::string heads[2];
  result.Code = WalkEntries(
      lines, false, failedLine,
      [&](std::string_view entry) {
        if (entries < 2) heads[entries].assign(entry);
        ++entries;
        return true;
      },
      &result.Line);
  if (result.Code != PreprocessOk) {
    result.Stage = JobCheckStage::Preprocess;
    result.Position = failedLine + 1;
    return result;
  }
  std::size_t start = 0;
  if (entries >= 2 && ReadJobHeader(heads[0], result.JobName) == HeaderOk &&
      ReadInstHeader(heads[1], result.InstrumentName) == HeaderOk) {
    result.HasHeaders = true;
    start = 2;
  } else {
    result.JobName = kNoName;
    result.InstrumentName = kUnknownInstrument;
  }
  if (records != nullptr) records->reserve(records->size() + entries - std::min(start, entries));
  std::size_t index = 0;
  MeasureRecord scratch;
  lines.Rewind();
  WalkEntries(lines, true, failedLine, [&](std::string_view entry) {
    if (index++ < start) return true;
    MeasureRecord& record = records != nullptr ? records->emplace_back() : scratch;
    result.Code = ParseRecordText(entry, record, &result.Cuts);
    if (result.Code == RecordOk) {
      ++result.RecordCount;
      return true;
    }
    if (records != nullptr) records->pop_back();
    result.Stage = JobCheckStage::Record;
    result.Position = index;
    // A NOTE entry is one line even when its text holds a '|'.
    result.Line = LineKeyword(entry) == "NOTE" ? entry : entry.substr(0, entry.find('|'));
    return false;
  });
  if (result.Stage == JobCheckStage::Passed) result.Code = 0;
  return result;
}

JobCheckResult ReadKeywordJob(LineSpan lines, std::vector<MeasureRecord>* records) {
  SpanLineSource source(lines);
  return ReadKeywordJob(source, records);
}

JobCheckResult ReadKeywordJob(const LineList& lines, std::vector<MeasureRecord>* records) {
  return ReadKeywordJob(ViewsOf(lines), records);
}

JobCheckResult CheckKeywordJob(const LineList& lines) { return ReadKeywordJob(lines, nullptr); }

JobCheckResult CheckKeywordJob(LineSpan lines) { return ReadKeywordJob(lines, nullptr); }

}  // namespace theolink
