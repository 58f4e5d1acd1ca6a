#include "files/file_open.h"

#include <algorithm>
#include <cctype>

#include "files/file_io.h"
#include "files/line_file.h"
#include "files/line_loaders.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

// Text with bytes of 128 and above (Chinese names) probes as binary; such a file is still
// a text file when its content classifies. Nothing changes when it does not.
std::optional<TextId> TryAsText(WorkingData& data, const std::string& path, const Settings& settings) {
  TextFile text;
  if (!ReadTextFile(path, text)) return TextId::WrongFileFormat;
  return ClassifyTextLines(data, text.Lines, settings);
}

// No control byte but line breaks and tabs: what a text file with any code page holds.
bool LooksLikeText(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes).Ok()) return false;
  return std::none_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 32 && b != '\t' && b != '\r' && b != '\n';
  });
}

// Above this size a text job is read a block at a time: held whole beside its records it
// would not fit in memory. Smaller files are read whole, which is faster.
constexpr long long kStreamedJobSize = 64LL << 20;

// A large keyword job loaded without holding its text; false (data untouched) when the file is
// no such job or did not read, so that it is opened the ordinary way.
bool LoadStreamedJob(WorkingData& data, const std::string& path) {
  if (RegularFileSize(path) < kStreamedJobSize) return false;
  FileLineSource lines(path);
  std::string_view first;
  if (!lines.Next(first) || !IsKeywordLine(first) || !lines.Rewind()) return false;
  if (!TryLoadMeasureLines(data, lines)) return false;
  data.DataKind = DataKindMeasure;
  return true;
}

}  // namespace

bool IsMeasureExtension(const std::string& ext) {
  return ext == ".mea" || ext == ".job" || ext == ".dat" || ext == ".jbf";
}

bool IsCoordExtension(const std::string& ext) {
  return ext == ".coo" || ext == ".pts" || ext == ".cor" || ext == ".ptf";
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
  const int kind = ProbeFileKind(path);
  if (kind == ProbeBinary) return OpenBinaryFile(data, path, settings);
  OpenOutcome outcome;
  if (kind != ProbeText) {
    outcome.Messages.push_back(ProbeMessage(kind));
    return outcome;
  }
  outcome.RefreshViews = true;
  if (LoadStreamedJob(data, path)) return outcome;
  TextFile text;
  if (!ReadTextFile(path, text)) {
    outcome.Messages.push_back(TableMessage(TextId::ErrorWhileReading));
    return outcome;
  }
  if (const auto message = ClassifyTextLines(data, text.Lines, settings)) outcome.Messages.push_back(TableMessage(*message));
  return outcome;
}

OpenOutcome OpenBinaryFile(WorkingData& data, const std::string& path, const Settings& settings) {
  const std::string ext = BinaryExtension(path);
  if (IsMeasureExtension(ext)) {
    data.DataKind = DataKindMeasure;
    OpenOutcome outcome = OpenMeasureBinary(data, path);
    // CASS keeps its points in .dat files too; one with Chinese names must not be lost to
    // the binary reader. A file the reader refused is tried quietly; one it read without a
    // record only when it holds text bytes alone (a short text is all header): a real
    // header-only job is an empty job, not a code list made of its header bytes.
    const bool refused = !outcome.Messages.empty();
    const bool headerOnlyText = !refused && data.MeasurementList.empty() && LooksLikeText(path);
    if (ext == ".dat" && (refused || headerOnlyText) && !TryAsText(data, path, settings)) outcome.Messages.clear();
    return outcome;
  }
  if (IsCoordExtension(ext)) return OpenCoordBinary(data, path);
  OpenOutcome outcome;
  outcome.RefreshViews = true;
  if (TryAsText(data, path, settings)) outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
  return outcome;
}

namespace {

// The binary reader's lines, in one packed buffer rather than a string each, go to load;
// when the reader fails, its message instead.
template <typename Load>
OpenOutcome OpenThroughReader(const std::string& path, std::int32_t (*read)(const std::string&, LineOutput&),
                              Load&& load) {
  OpenOutcome outcome;
  outcome.RefreshViews = true;
  PackedLines memo;
  if (const std::int32_t result = read(path, memo); result != 0) {
    outcome.Messages.push_back(BinaryReadMessage(result, path));
    return outcome;
  }
  load(memo.Lines(), outcome);
  return outcome;
}

}  // namespace

OpenOutcome OpenMeasureBinary(WorkingData& data, const std::string& path) {
  return OpenThroughReader(path, &ReadMeasureBinaryJob, [&](LineSpan lines, OpenOutcome& outcome) {
    const std::string loaded = LoadMeasureLines(data, lines);
    if (loaded != "OK") {
      outcome.Messages.push_back(ShownMessage{std::nullopt, loaded, "Error"});
      outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
    }
  });
}

OpenOutcome OpenCoordBinary(WorkingData& data, const std::string& path) {
  std::int32_t (*read)(const std::string&, LineOutput&) = &ReadCoordBinary;
  return OpenThroughReader(path, read, [&](LineViews lines, OpenOutcome& outcome) {
    RemoveBlankLines(lines);
    // Lines the loader refuses (a 16-character name, no point at all) would otherwise leave
    // an unexplained empty grid.
    if (!LoadCoordRecordLines(data, lines)) outcome.Messages.push_back(TableMessage(TextId::WrongFileFormat));
    data.DataKind = DataKindCoord;
  });
}

void RemoveBlankLines(LineList& lines) {
  std::erase_if(lines, [](const std::string& line) { return Trim(line).empty(); });
}

void RemoveBlankLines(LineViews& lines) {
  std::erase_if(lines, [](std::string_view line) { return Trim(line).empty(); });
}

}  // namespace theolink
