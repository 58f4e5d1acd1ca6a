#include "files/file_open.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

#include "files/file_io.h"
#include "files/line_file.h"
#include "files/line_loaders.h"
#include "records/binary_layout_table.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

// A loader filled opened.Data, and the classifier chose the mode.
void MarkClassified(OpenedData& opened) {
  opened.Loaded = true;
  opened.DataKind = opened.Data.DataKind;
}

// Text with bytes of 128 and above (Chinese names) probes as binary; such a file is still
// a text file when its content classifies. Nothing changes when it does not.
std::optional<TextId> TryAsText(OpenedData& opened, const std::string& path, const Settings& settings,
                                TaskProgress* progress) {
  TextFile text;
  if (!ReadTextFile(path, text, progress)) return TextId::WrongFileFormat;
  const auto message = ClassifyTextLines(opened.Data, text.Lines, settings, progress);
  if (!message) MarkClassified(opened);
  return message;
}

// No control byte but line breaks and tabs: what a text file with any code page holds.
bool LooksLikeText(const std::string& path, TaskProgress* progress) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxReadFileSize, progress).Ok()) return false;
  return std::none_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 32 && b != '\t' && b != '\r' && b != '\n';
  });
}

// Above this size a text job is read a block at a time: held whole beside its records it
// would not fit in memory. Smaller files are read whole, which is faster.
constexpr long long kStreamedJobSize = 64LL << 20;

// A large keyword job loaded without holding its text; false (nothing loaded) when the file
// is no such job or did not read, so that it is opened the ordinary way.
bool LoadStreamedJob(OpenedData& opened, const std::string& path, TaskProgress* progress) {
  const long long size = RegularFileSize(path);
  if (size < kStreamedJobSize) return false;
  FileLineSource lines(path);
  std::string_view first;
  if (!lines.Next(first) || !IsKeywordLine(first) || !lines.Rewind()) return false;
  lines.ReportTo(progress, static_cast<std::uint64_t>(size));
  if (!TryLoadMeasureLines(opened.Data, lines)) return false;
  opened.Loaded = true;
  opened.DataKind = DataKind::Measure;
  return true;
}

// Lines on their way to out, counted for progress: a binary reader knows no total.
class ReportingOutput final : public LineOutput {
 public:
  ReportingOutput(LineOutput& out, TaskProgress* progress) : out_(out), progress_(progress) {}
  void Add(std::string_view line) override {
    if (progress_ != nullptr && ++count_ % kProgressStep == 0) progress_->Report(count_, 0);
    out_.Add(line);
  }

 private:
  LineOutput& out_;
  TaskProgress* progress_;
  std::uint64_t count_ = 0;
};

// The binary reader's lines, in one packed buffer rather than a string each, go to load;
// when the reader fails, its message instead.
template <typename Load>
void OpenThroughReader(OpenedData& opened, const std::string& path,
                       std::int32_t (*read)(const std::string&, LineOutput&), TaskProgress* progress, Load&& load) {
  opened.Outcome.RefreshViews = true;
  PackedLines memo;
  ReportingOutput out(memo, progress);
  if (const std::int32_t result = read(path, out); result != 0) {
    opened.Outcome.Messages.push_back(BinaryReadMessage(result, path));
    return;
  }
  load(memo.Lines());
}

void OpenMeasureBinaryAside(OpenedData& opened, const std::string& path, TaskProgress* progress) {
  OpenThroughReader(opened, path, &ReadMeasureBinaryJob, progress, [&](LineSpan lines) {
    UserMessage loaded = LoadMeasureLines(opened.Data, lines, progress);
    if (loaded.Empty()) {
      opened.Loaded = true;
      return;
    }
    opened.Outcome.Messages.push_back(std::move(loaded));
    opened.Outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
  });
}

void OpenCoordBinaryAside(OpenedData& opened, const std::string& path, TaskProgress* progress) {
  std::int32_t (*read)(const std::string&, LineOutput&) = &ReadCoordBinary;
  OpenThroughReader(opened, path, read, progress, [&](LineViews lines) {
    RemoveBlankLines(lines);
    // Lines the loader refuses (a 16-character name, no point at all) would otherwise leave
    // an unexplained empty grid.
    if (LoadCoordRecordLines(opened.Data, lines, progress)) {
      opened.Loaded = true;
    } else {
      opened.Outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
    }
    opened.DataKind = DataKind::Coord;
  });
}

void OpenBinaryFileAside(OpenedData& opened, const std::string& path, const Settings& settings,
                         TaskProgress* progress) {
  const std::string ext = BinaryExtension(path);
  if (IsMeasureExtension(ext)) {
    opened.DataKind = DataKind::Measure;
    OpenMeasureBinaryAside(opened, path, progress);
    // CASS keeps its points in .dat files too; one with Chinese names must not be lost to
    // the binary reader. A file the reader refused is tried quietly; one it read without a
    // record only when it holds text bytes alone (a short text is all header): a real
    // header-only job is an empty job, not a code list made of its header bytes.
    if (!FindBinaryLayout(ext)->MayBeText) return;
    const bool refused = !opened.Outcome.Messages.empty();
    const bool headerOnlyText = !refused && opened.Data.MeasurementList.empty() && LooksLikeText(path, progress);
    if ((refused || headerOnlyText) && !TryAsText(opened, path, settings, progress)) opened.Outcome.Messages.clear();
    return;
  }
  if (IsCoordExtension(ext)) {
    OpenCoordBinaryAside(opened, path, progress);
    return;
  }
  opened.Outcome.RefreshViews = true;
  if (TryAsText(opened, path, settings, progress)) opened.Outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
}

}  // namespace

bool IsMeasureExtension(const std::string& ext) {
  const BinaryLayoutRow* row = FindBinaryLayout(ext);
  return row != nullptr && row->Kind == BinaryFileKind::Measure;
}

bool IsCoordExtension(const std::string& ext) {
  const BinaryLayoutRow* row = FindBinaryLayout(ext);
  return row != nullptr && row->Kind == BinaryFileKind::Coord;
}

std::int32_t ReadMeasureBinaryJob(const std::string& path, LineOutput& lines) {
  lines.Add("JOB     " + FileNameStem(path));
  lines.Add("INST    TotalStation");
  return ReadMeasureBinary(path, lines);
}

ProbeResult ProbeFileKind(const std::string& path) {
  // Only regular files: a pipe or device in the file's place would block or never end.
  FileDescriptor fd;
  if (!OpenRegularFile(path, fd).Ok()) return ProbeCannotOpen;
  unsigned char buffer[100];
  const long n = ReadSome(fd.Get(), reinterpret_cast<char*>(buffer), sizeof buffer);
  if (n < 0) return ProbeReadFailed;
  const auto count = static_cast<std::size_t>(n);
  if (count == 0) return ProbeEmpty;
  // A text file's byte-order mark is read over with it.
  const bool mark = count >= 3 && buffer[0] == 0xEF && buffer[1] == 0xBB && buffer[2] == 0xBF;
  for (std::size_t i = mark ? 3 : 0; i < count; ++i) {
    const unsigned char c = buffer[i];
    const bool blank = (c >= 9 && c <= 13) || c == 32;
    const bool printable = c >= 32 && c <= 126;
    if (!blank && !printable) return ProbeBinary;
  }
  return ProbeText;
}

OpenOutcome OpenDataFile(WorkingData& data, const std::string& path, const Settings& settings) {
  return ApplyOpen(data, OpenDataFileAside(path, settings));
}

OpenedData OpenDataFileAside(const std::string& path, const Settings& settings, TaskProgress* progress) {
  OpenedData opened;
  const int kind = ProbeFileKind(path);
  if (kind == ProbeBinary) {
    OpenBinaryFileAside(opened, path, settings, progress);
    return opened;
  }
  if (kind != ProbeText) {
    opened.Outcome.Messages.push_back(ProbeMessage(kind));
    return opened;
  }
  opened.Outcome.RefreshViews = true;
  if (LoadStreamedJob(opened, path, progress)) return opened;
  TextFile text;
  if (!ReadTextFile(path, text, progress)) {
    opened.Outcome.Messages.push_back(TableMessage(TextId::ErrorWhileReading));
    return opened;
  }
  if (const auto message = ClassifyTextLines(opened.Data, text.Lines, settings, progress)) {
    opened.Outcome.Messages.push_back(TableMessage(*message));
  } else {
    MarkClassified(opened);
  }
  return opened;
}

OpenOutcome ApplyOpen(WorkingData& data, OpenedData&& opened) {
  if (opened.Loaded) {
    data.MeasurementList = std::move(opened.Data.MeasurementList);
    data.PointList = std::move(opened.Data.PointList);
    data.CodeList = std::move(opened.Data.CodeList);
    data.JobName = std::move(opened.Data.JobName);
    data.InstrumentName = std::move(opened.Data.InstrumentName);
    data.Cuts = opened.Data.Cuts;
  }
  if (opened.DataKind) data.DataKind = *opened.DataKind;
  return std::move(opened.Outcome);
}

OpenOutcome OpenBinaryFile(WorkingData& data, const std::string& path, const Settings& settings) {
  OpenedData opened;
  OpenBinaryFileAside(opened, path, settings, nullptr);
  return ApplyOpen(data, std::move(opened));
}

OpenOutcome OpenMeasureBinary(WorkingData& data, const std::string& path) {
  OpenedData opened;
  OpenMeasureBinaryAside(opened, path, nullptr);
  return ApplyOpen(data, std::move(opened));
}

OpenOutcome OpenCoordBinary(WorkingData& data, const std::string& path) {
  OpenedData opened;
  OpenCoordBinaryAside(opened, path, nullptr);
  return ApplyOpen(data, std::move(opened));
}

void RemoveBlankLines(LineList& lines) {
  std::erase_if(lines, [](const std::string& line) { return Trim(line).empty(); });
}

void RemoveBlankLines(LineViews& lines) {
  std::erase_if(lines, [](std::string_view line) { return Trim(line).empty(); });
}

}  // namespace theolink
