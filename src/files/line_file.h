#pragma once
// Text files as lists of 8-bit lines.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>

#include "files/file_io.h"
#include "files/line_sink.h"
#include "files/task_progress.h"
#include "records/line_list.h"
#include "records/line_source.h"

namespace theolink {

// Reads the whole file, cutting lines at CR LF, LF or CR; a break at the very end makes no
// extra empty line. Bytes are kept as they are. False (lines untouched) when unreadable.
bool ReadTextLines(const std::string& path, LineList& lines);

// A text file read whole in one buffer, its lines views into it (cut as ReadTextLines
// cuts them). Filled in place and never moved: a move could leave the views behind.
struct TextFile {
  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  std::string Bytes;
  LineViews Lines;
};
// The bytes read are reported to progress, which may cancel the read.
bool ReadTextFile(const std::string& path, TextFile& file, TaskProgress* progress = nullptr);

// A text file's lines read a block at a time, cut as ReadTextFile cuts them (the byte-order
// mark passed over): memory stays at a block and the longest line, whatever the file's size.
class FileLineSource final : public LineSource {
 public:
  explicit FileLineSource(const std::string& path, std::size_t blockSize = std::size_t{1} << 20);
  // False when the file could not be opened (a folder, a device, not there...).
  bool Opened() const { return fd_.Valid(); }
  bool Failed() const override { return !status_.Ok(); }
  // Why the file did not open or a read failed.
  const FileStatus& Status() const { return status_; }
  bool Next(std::string_view& line) override;
  bool Rewind() override;
  // Each block read reports the bytes read so far of total to progress, which may cancel.
  void ReportTo(TaskProgress* progress, std::uint64_t total) {
    progress_ = progress;
    total_ = total;
  }

 private:
  // Keeps the bytes not yet handed out and reads the next block after them.
  void Fill();

  FileDescriptor fd_;
  std::size_t block_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool atStart_ = true;
  bool end_ = false;
  FileStatus status_;
  TaskProgress* progress_ = nullptr;
  std::uint64_t total_ = 0, read_ = 0;
};

// Writes every line followed by CR LF, whole or not at all (AtomicFileWriter). False when
// anything failed; the old file (if any) is then untouched and no temporary file is left.
bool WriteTextLines(const std::string& path, const LineList& lines);

// The same as a sink: lines go to a temporary file beside the target as they come; Commit
// renames it over the target. Without a successful Commit the temporary file is removed
// and the target stays as it was. Full blocks are written on a thread of their own while
// the next block fills, so making the lines and writing them overlap.
class AtomicLineFile final : public LineSink {
 public:
  explicit AtomicLineFile(const std::string& path) : writer_(path) {}
  ~AtomicLineFile() override { StopWriting(); }
  AtomicLineFile(const AtomicLineFile&) = delete;
  AtomicLineFile& operator=(const AtomicLineFile&) = delete;

  // False when the temporary file could not be created (Status says why). Asked before the
  // first line: from then on the writing thread owns the writer until Finish.
  bool IsOpen() const { return writer_.Status().Ok(); }
  const FileStatus& Status() const { return writer_.Status(); }
  // Lines are gathered in a block of their own: a DXF drawing is millions of tiny lines,
  // and one copy per line is cheaper than two calls into the writer.
  void Add(std::string_view line) override {
    if (line.size() + 2 > kBlockSize - used_) {
      Pass();
      if (line.size() + 2 > kBlockSize) {
        WaitForWriter();
        writer_.Write(line);
        writer_.Write("\r\n");
        return;
      }
    }
    used_ = static_cast<std::size_t>(Put(block_.get() + used_, line) - block_.get());
  }
  void AddAll(std::span<const std::string_view> lines) override {
    std::size_t size = 0;
    for (const std::string_view line : lines) size += line.size() + 2;
    if (size > kBlockSize - used_) {
      Pass();
      if (size > kBlockSize) {
        for (const std::string_view line : lines) Add(line);
        return;
      }
    }
    char* at = block_.get() + used_;
    for (const std::string_view line : lines) at = Put(at, line);
    used_ = static_cast<std::size_t>(at - block_.get());
  }
  void AddEnded(std::string_view text) override {
    while (!text.empty()) {
      if (used_ == kBlockSize) Pass();
      const std::size_t n = std::min(text.size(), kBlockSize - used_);
      std::memcpy(block_.get() + used_, text.data(), n);
      used_ += n;
      text.remove_prefix(n);
    }
  }
  // True when every line was written and the file now stands under the target name.
  bool Commit() { return Finish().Ok(); }
  FileStatus Finish();

 private:
  static constexpr std::size_t kBlockSize = std::size_t{256} << 10;

  // Copies the line and its CR LF to at; where the next line goes. Most lines of a drawing
  // are a few characters, copied here rather than through a call.
  static char* Put(char* at, std::string_view line) {
    if (line.size() <= 8) {
      for (const char c : line) *at++ = c;
    } else {
      std::memcpy(at, line.data(), line.size());
      at += line.size();
    }
    *at++ = '\r';
    *at++ = '\n';
    return at;
  }

  // Hands the full block to the writing thread (started with the first) and takes the
  // block it wrote before.
  void Pass();
  void WaitForWriter();
  void StopWriting();
  void WriteBlocks();

  AtomicFileWriter writer_;  // the writing thread's while it has a block
  std::unique_ptr<char[]> block_ = std::make_unique_for_overwrite<char[]>(kBlockSize);
  std::unique_ptr<char[]> written_;  // the block being written, then the next to fill
  std::size_t used_ = 0, writing_ = 0;
  bool busy_ = false, stop_ = false;
  std::exception_ptr failure_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
};

}  // namespace theolink
