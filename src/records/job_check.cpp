#include "records/job_check.h"

#include <algorithm>

#include "records/default_names.h"
#include "records/keyword_parser.h"
#include "records/text_trim.h"

namespace theolink {

namespace {

bool HasTwoLines(LineSource& lines) {
  std::string_view line;
  return lines.Next(line) && lines.Next(line) && lines.Rewind();
}

// Entries 1 and 2 are headers when they read as JOB and INST; otherwise the job gets the
// names of a job without headers. Returns the number of header entries.
std::size_t ReadHeads(const std::string (&heads)[2], std::size_t entries, JobCheckResult& result) {
  if (entries >= 2 && ReadJobHeader(heads[0], result.JobName) == HeaderOk &&
      ReadInstHeader(heads[1], result.InstrumentName) == HeaderOk) {
    result.HasHeaders = true;
    return 2;
  }
  result.JobName = kNoName;
  result.InstrumentName = kUnknownInstrument;
  return 0;
}

void PreprocessFailed(PreprocessResult code, std::size_t failedLine, JobCheckResult& result) {
  result.Code = code;
  result.Stage = JobCheckStage::Preprocess;
  result.Position = failedLine + 1;
}

// The entry (1-based index) parsed into the next slot (Slot for it, Drop to give it back).
template <typename Slots>
bool ParseEntry(std::string_view entry, std::size_t index, JobCheckResult& result, Slots& slots) {
  result.Code = ParseRecordText(entry, slots.Slot(), &result.Cuts);
  if (result.Code == RecordOk) {
    ++result.RecordCount;
    return true;
  }
  slots.Drop();
  result.Stage = JobCheckStage::Record;
  result.Position = index;
  // A NOTE entry is one line even when its text holds a '|'.
  result.Line = LineKeyword(entry) == "NOTE" ? entry : entry.substr(0, entry.find('|'));
  return false;
}

// Records built in place at the end of a list, or into one scratch record when none is kept.
class ListSlots {
 public:
  explicit ListSlots(std::vector<MeasureRecord>* records) : records_(records) {}
  MeasureRecord& Slot() { return records_ != nullptr ? records_->emplace_back() : scratch_; }
  void Drop() {
    if (records_ != nullptr) records_->pop_back();
  }

 private:
  std::vector<MeasureRecord>* records_;
  MeasureRecord scratch_;
};

// Records built in a run that goes to the sink each time it fills, and once more at the end.
class RunSlots {
 public:
  RunSlots(JobRecordSink& sink, std::size_t run) : sink_(sink), size_(std::max<std::size_t>(run, 1)) {}
  MeasureRecord& Slot() {
    if (used_ == size_) Pass();
    if (run_.size() != size_) run_.resize(size_);
    // Not cleared: a record the parser passes has its kind and its whole body written, and
    // the bytes of an earlier, longer body behind it are never read.
    return run_[used_++];
  }
  void Drop() { --used_; }
  void Pass() {
    if (used_ == 0) return;
    run_.resize(used_);
    sink_.Take(run_);
    used_ = 0;
  }

 private:
  JobRecordSink& sink_;
  std::size_t size_;
  std::vector<MeasureRecord> run_;
  std::size_t used_ = 0;
};

}  // namespace

JobCheckResult ReadKeywordJob(LineSource& lines, std::vector<MeasureRecord>* records) {
  JobCheckResult result;
  if (!HasTwoLines(lines)) {
    result.Stage = JobCheckStage::TooFewLines;
    return result;
  }
  // First walk: the whole text must preprocess before any record counts, and it gives the
  // number of entries and the two that may be headers. Headers are single lines, so the
  // first line of an entry is all they need.
  std::size_t failedLine = 0, entries = 0;
  std::string heads[2];
  const PreprocessResult walked = WalkEntries(
      lines, false, failedLine,
      [&](std::string_view entry) {
        if (entries < 2) heads[entries].assign(entry);
        ++entries;
        return true;
      },
      &result.Line);
  if (walked != PreprocessOk) {
    PreprocessFailed(walked, failedLine, result);
    return result;
  }
  const std::size_t start = ReadHeads(heads, entries, result);
  if (records != nullptr) records->reserve(records->size() + entries - std::min(start, entries));
  // Second walk: every entry after the headers.
  ListSlots slots(records);
  std::size_t index = 0;
  lines.Rewind();
  WalkEntries(lines, true, failedLine, [&](std::string_view entry) {
    return ++index <= start || ParseEntry(entry, index, result, slots);
  });
  if (result.Stage == JobCheckStage::Passed) result.Code = 0;
  return result;
}

JobCheckResult ReadKeywordJob(LineSource& lines, JobRecordSink& sink, std::size_t run) {
  JobCheckResult result;
  if (!HasTwoLines(lines)) {
    result.Stage = JobCheckStage::TooFewLines;
    return result;
  }
  // One walk: records are parsed as their entries come, once the first two entries have
  // told whether they are headers.
  RunSlots slots(sink, run);
  std::string heads[2];
  std::size_t entries = 0, failedLine = 0;
  bool started = false;
  const auto start = [&] {
    started = true;
    const std::size_t headers = ReadHeads(heads, entries, result);
    sink.Start(result);
    for (std::size_t i = headers; i < std::min<std::size_t>(entries, 2); ++i) {
      if (!ParseEntry(heads[i], i + 1, result, slots)) return false;
    }
    return true;
  };
  const PreprocessResult walked = WalkEntries(
      lines, true, failedLine,
      [&](std::string_view entry) {
        if (entries < 2) {
          heads[entries++].assign(entry);
          return true;
        }
        if (!started && !start()) return false;
        return ParseEntry(entry, ++entries, result, slots);
      },
      &result.Line);
  if (walked != PreprocessOk) {
    PreprocessFailed(walked, failedLine, result);
    return result;
  }
  if (result.Stage == JobCheckStage::Passed && !started) start();
  if (result.Stage != JobCheckStage::Passed) return result;
  result.Code = 0;
  slots.Pass();
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
