#include "files/line_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "records/text_lines.h"

namespace theolink {
namespace {

// Where the first CR or LF at or after from is, or n. Lines are short: eight bytes at a time
// in one pass beats two library searches a line.
std::size_t FindBreak(const char* data, std::size_t from, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  std::size_t i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    // A byte of word ^ pattern is zero where the byte matches; the classic test sets its
    // high bit there (and may set it above a match, but only above, which is past the first).
    const std::uint64_t lf = word ^ (kOnes * '\n'), cr = word ^ (kOnes * '\r');
    const std::uint64_t found = ((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs);
    if (found != 0) return i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
  }
  while (i < n && data[i] != '\n' && data[i] != '\r') ++i;
  return i;
}

}  // namespace

bool ReadTextLines(const std::string& path, LineList& lines) {
  TextFile file;
  if (!ReadTextFile(path, file)) return false;
  lines.assign(file.Lines.begin(), file.Lines.end());
  return true;
}

bool ReadTextFile(const std::string& path, TextFile& file, TaskProgress* progress) {
  file.Lines.clear();
  if (!ReadWholeFile(path, file.Bytes, kMaxReadFileSize, progress).Ok()) return false;
  // Editors that save UTF-8 may put a byte-order mark first; it is no part of the first line.
  if (file.Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) file.Bytes.erase(0, 3);
  file.Lines = SplitLineViews(file.Bytes);
  return true;
}

FileLineSource::FileLineSource(const std::string& path, std::size_t blockSize)
    : block_(std::max<std::size_t>(blockSize, 16)) {
  status_ = OpenRegularFile(path, fd_);
  end_ = !status_.Ok();
}

void FileLineSource::Fill() {
  if (progress_ != nullptr) progress_->Report(read_, total_);
  buffer_.erase(0, pos_);
  pos_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + block_);
  const long n = ReadSome(fd_.Get(), buffer_.data() + kept, block_);
  if (n < 0) status_ = FileStatus::FromErrno(errno);
  const std::size_t got = n > 0 ? static_cast<std::size_t>(n) : 0;
  read_ += got;
  buffer_.resize(kept + got);
  // ReadSome fills the block unless the file ends (or fails) first.
  if (got < block_) end_ = true;
  if (atStart_) {
    atStart_ = false;
    if (buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
  }
}

bool FileLineSource::Next(std::string_view& line) {
  for (;;) {
    const char* const data = buffer_.data();
    const std::size_t n = buffer_.size();
    const std::size_t stop = FindBreak(data, pos_, n);
    // A CR last in the buffer may be the first half of a CR LF: look at the next byte first.
    const bool needMore = stop == n || (data[stop] == '\r' && stop + 1 == n);
    if (needMore && !end_) {
      Fill();
      continue;
    }
    if (stop == n) {
      if (pos_ == n) return false;
      line = std::string_view(data + pos_, n - pos_);
      pos_ = n;
      return true;
    }
    line = std::string_view(data + pos_, stop - pos_);
    pos_ = stop + 1;
    if (data[stop] == '\r' && pos_ < n && data[pos_] == '\n') ++pos_;
    return true;
  }
}

bool FileLineSource::Rewind() {
  if (!fd_.Valid() || !SeekToStart(fd_.Get())) return false;
  buffer_.clear();
  pos_ = 0;
  read_ = 0;
  atStart_ = true;
  end_ = false;
  return true;
}

void AtomicLineFile::Pass() {
  if (used_ == 0) return;
  if (!thread_.joinable()) thread_ = std::thread([this] { WriteBlocks(); });
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (written_ == nullptr) written_ = std::make_unique_for_overwrite<char[]>(kBlockSize);
    std::swap(block_, written_);
    writing_ = used_;
    busy_ = true;
  }
  changed_.notify_all();
  used_ = 0;
}

void AtomicLineFile::WaitForWriter() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
}

void AtomicLineFile::StopWriting() {
  if (!thread_.joinable()) return;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void AtomicLineFile::WriteBlocks() {
  for (;;) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return busy_ || stop_; });
    if (!busy_) return;
    lock.unlock();
    try {
      writer_.Write(std::string_view(written_.get(), writing_));
    } catch (...) {
      failure_ = std::current_exception();
    }
    lock.lock();
    busy_ = false;
    lock.unlock();
    changed_.notify_all();
  }
}

FileStatus AtomicLineFile::Finish() {
  StopWriting();
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  writer_.Write(std::string_view(block_.get(), used_));
  used_ = 0;
  return writer_.Commit();
}

bool WriteTextLines(const std::string& path, const LineList& lines) {
  AtomicLineFile file(path);
  for (const std::string& line : lines) file.Add(line);
  return file.Commit();
}

}  // namespace theolink
