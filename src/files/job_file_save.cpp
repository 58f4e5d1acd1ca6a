#include "files/job_file_save.h"

#include <span>
#include <vector>

#include "files/file_open.h"
#include "files/line_file.h"
#include "files/line_loaders.h"
#include "files/save_writers.h"
#include "records/binary_measure_reader.h"
#include "records/file_name_parts.h"
#include "records/job_check.h"
#include "records/line_output.h"

namespace theolink {
namespace {

// Records per run: small enough to stay in the cache, large enough that a run's overhead
// does not count.
constexpr std::size_t kRun = 1024;

// The reader's runs, shots joined across their edges, into the export.
class ExportRuns final : public JobRecordSink {
 public:
  explicit ExportRuns(MeasureExport& job) : job_(job) { joined_.reserve(kRun + 1); }

  // An empty job never comes this far: it is refused as having nothing to save.
  void Start(const JobCheckResult& head) override { job_.Begin(head.JobName, head.InstrumentName, true); }
  void Take(std::span<MeasureRecord> records) override {
    joined_.clear();
    for (const MeasureRecord& record : records) joiner_.Add(record, joined_);
    job_.Records(joined_);
  }
  void Finish() {
    joined_.clear();
    joiner_.Finish(joined_);
    job_.Records(joined_);
    job_.End();
  }

 private:
  MeasureExport& job_;
  ShotJoiner joiner_;
  std::vector<MeasureRecord> joined_;
};

std::optional<SaveResult> SaveJobLines(LineSource& lines, int filterIndex, const std::string& path,
                                       const Settings& settings, std::size_t& cuts) {
  AtomicLineFile file(path);
  if (!file.IsOpen()) return std::nullopt;
  MeasureExport job(file, filterIndex, settings);
  ExportRuns runs(job);
  const JobCheckResult read = ReadKeywordJob(lines, runs, kRun);
  // The temporary file goes with `file` when it is not committed.
  if (lines.Failed() || read.Stage != JobCheckStage::Passed || read.RecordCount == 0) return std::nullopt;
  runs.Finish();
  cuts = read.Cuts;
  const FileStatus status = file.Finish();
  return SaveResult{status.Ok() ? SaveCode::Saved : SaveCode::FileFailed, status};
}

bool IsMeasureFilter(int filterIndex) { return filterIndex >= MeasureFilterCsv && filterIndex <= MeasureFilterJob; }

}  // namespace

std::optional<SaveResult> SaveJobFileAs(const std::string& input, int filterIndex, const std::string& path,
                                        const Settings& settings, std::size_t& cuts) {
  // A reduction needs the whole job, and a refusal must come after what the load would say.
  if (!IsMeasureFilter(filterIndex) || (settings.ComputeShots && IsPointFilter(filterIndex)) ||
      (IsGts7Filter(filterIndex) && Gts7Refusal(path, settings)))
    return std::nullopt;
  const ProbeResult probe = ProbeFileKind(input);
  const std::string ext = BinaryExtension(input);
  if (probe == ProbeBinary && IsMeasureExtension(ext)) {
    PackedLines memo;
    if (ReadMeasureBinaryJob(input, memo) != 0) return std::nullopt;
    SpanLineSource lines(memo.Lines());
    return SaveJobLines(lines, filterIndex, path, settings, cuts);
  }
  // Text, or text with bytes above 127 under a name no binary reader takes.
  if (probe != ProbeText && (probe != ProbeBinary || IsCoordExtension(ext))) return std::nullopt;
  FileLineSource lines(input);
  std::string_view first;
  if (!lines.Next(first) || !IsKeywordLine(first) || !lines.Rewind()) return std::nullopt;
  return SaveJobLines(lines, filterIndex, path, settings, cuts);
}

}  // namespace theolink
