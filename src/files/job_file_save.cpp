#include "files/job_file_save.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "files/file_open.h"
#include "files/geo_transform.h"
#include "files/line_file.h"
#include "files/line_loaders.h"
#include "files/line_pipe.h"
#include "files/save_writers.h"
#include "records/file_name_parts.h"
#include "records/job_check.h"

namespace theolink {
namespace {

// Records per run: small enough to stay in the cache, large enough that a run's overhead
// does not count.
constexpr std::size_t kRun = 1024;

// The reader's runs, shots joined across their edges, into the export. Runs are written on
// a thread of their own, so that reading and writing a large job share two cores; the
// reader waits only when every buffer is still being written.
class ExportRuns final : public JobRecordSink {
 public:
  explicit ExportRuns(MeasureExport& job) : job_(job) {
    for (auto& buffer : buffers_) free_.push_back(&buffer);
  }
  ExportRuns(const ExportRuns&) = delete;
  ExportRuns& operator=(const ExportRuns&) = delete;
  ~ExportRuns() override { Stop(); }

  // A job without records is not saved from here (the ordinary path refuses it), so what
  // Begin writes for one is thrown away.
  void Start(const JobCheckResult& head) override {
    job_.Begin(head.JobName, head.InstrumentName, true);
    writer_ = std::thread([this] { WriteRuns(); });
  }
  void Take(std::vector<MeasureRecord>& records) override {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !free_.empty() || failure_; });
      if (failure_) return;  // Finish reports it
      // The run is swapped for a free list, not copied.
      std::vector<MeasureRecord>* buffer = free_.back();
      free_.pop_back();
      buffer->swap(records);
      full_.push_back(buffer);
    }
    changed_.notify_all();
  }
  // Writes what is left; rethrows what stopped the writer.
  void Finish() {
    Stop();
    if (failure_) std::rethrow_exception(failure_);
    joiner_.Finish(emit_);
    job_.End();
  }

 private:
  void WriteRuns() {
    for (;;) {
      std::vector<MeasureRecord>* buffer = nullptr;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || done_; });
        if (full_.empty()) return;
        buffer = full_.front();
        full_.pop_front();
      }
      try {
        joiner_.Add(*buffer, emit_);
      } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        changed_.notify_all();
        return;
      }
      {
        const std::lock_guard lock(mutex_);
        free_.push_back(buffer);
      }
      changed_.notify_all();
    }
  }
  // Lets the writer finish the runs handed to it, and waits for it.
  void Stop() {
    if (!writer_.joinable()) return;
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    writer_.join();
  }

  MeasureExport& job_;
  ShotJoiner joiner_;  // the writer's until it ends
  const ShotJoiner::Emit emit_ = [this](std::span<const MeasureRecord> records) { job_.Records(records); };
  std::array<std::vector<MeasureRecord>, 4> buffers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::vector<MeasureRecord>*> free_;
  std::deque<std::vector<MeasureRecord>*> full_;
  bool done_ = false;
  std::exception_ptr failure_;  // what stopped the writer
  std::thread writer_;
};

std::optional<SaveResult> SaveJobLines(LineSource& lines, const SaveFormat& format, const std::string& path,
                                       const Settings& settings, std::size_t& cuts) {
  AtomicLineFile file(path);
  if (!file.IsOpen()) return std::nullopt;
  MeasureExport job(file, format, settings);
  ExportRuns runs(job);
  const JobCheckResult read = ReadKeywordJob(lines, runs, kRun);
  // The temporary file goes with `file` when it is not committed.
  if (lines.Failed() || read.Stage != JobCheckStage::Passed || read.RecordCount == 0) return std::nullopt;
  runs.Finish();
  // A refusal, or a point format that found no point, is said by the ordinary way.
  if (job.Refusal() || (format.Writer == SaveWriter::Points && job.PointCount() == 0)) return std::nullopt;
  cuts = read.Cuts;
  const FileStatus status = file.Finish();
  return SaveResult{status.Ok() ? SaveCode::Saved : SaveCode::FileFailed, status};
}

// Makes the lines into the pipe on a thread of its own, for as long as this lives; make
// returns false when its lines stopped short.
class LineMaker {
 public:
  LineMaker(LinePipe& lines, std::function<bool(LineOutput&)> make)
      : lines_(lines), thread_([&lines, make = std::move(make)] {
          bool whole = false;
          try {
            whole = make(lines);
          } catch (...) {  // the lines stop short, which the pipe tells its reader
          }
          lines.Close(!whole);
        }) {}
  LineMaker(const LineMaker&) = delete;
  LineMaker& operator=(const LineMaker&) = delete;
  ~LineMaker() {
    lines_.Abandon();
    thread_.join();
  }

 private:
  LinePipe& lines_;
  std::thread thread_;
};

}  // namespace

std::optional<SaveResult> SaveJobFileAs(const std::string& input, const SaveFormat& format, const std::string& path,
                                        const Settings& settings, std::size_t& cuts) {
  // A reduction needs the whole job, and a refusal must come after what the load would say.
  if (format.Kind != DataKind::Measure || (settings.ComputeShots && Uses(format, kUsesReducedShots)) ||
      (Uses(format, kNeedsGt7Name) && Gts7Refusal(path, settings)) || (Uses(format, kNeedsCrs) && CrsProblem(settings.Crs)))
    return std::nullopt;
  const ProbeResult probe = ProbeFileKind(input);
  const std::string ext = BinaryExtension(input);
  if (probe == ProbeBinary && IsMeasureExtension(ext)) {
    // The binary reader makes the keyword lines on a thread of its own while they are read.
    LinePipe lines;
    const LineMaker maker(lines, [&input](LineOutput& out) { return ReadMeasureBinaryJob(input, out) == 0; });
    return SaveJobLines(lines, format, path, settings, cuts);
  }
  // Text, or text with bytes above 127 under a name no binary reader takes. Read here: on
  // a thread of its own it costs more in handing over than it saves.
  if (probe != ProbeText && (probe != ProbeBinary || IsCoordExtension(ext))) return std::nullopt;
  FileLineSource lines(input);
  std::string_view first;
  if (!lines.Next(first) || !IsKeywordLine(first) || !lines.Rewind()) return std::nullopt;
  return SaveJobLines(lines, format, path, settings, cuts);
}

}  // namespace theolink
