#include "files/line_pipe.h"

namespace theolink {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
constexpr std::size_t kBlocksAhead = 8;

}  // namespace

LinePipe::LinePipe() : making_(std::make_unique<Block>()) {}

LinePipe::~LinePipe() = default;

void LinePipe::Add(std::string_view line) {
  making_->Bytes += line;
  making_->Ends.push_back(static_cast<std::uint32_t>(making_->Bytes.size()));
  if (making_->Bytes.size() < kBlockBytes) return;
  std::unique_lock lock(mutex_);
  Hand(lock);
}

void LinePipe::Close(bool failed) {
  std::unique_lock lock(mutex_);
  if (!making_->Ends.empty()) Hand(lock);
  closed_ = true;
  failed_ = failed;
  changed_.notify_all();
}

void LinePipe::Hand(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return full_.size() < kBlocksAhead || abandoned_; });
  if (abandoned_) {
    making_->Bytes.clear();
    making_->Ends.clear();
    return;
  }
  full_.push_back(std::move(making_));
  if (free_.empty()) {
    making_ = std::make_unique<Block>();
  } else {
    making_ = std::move(free_.back());
    free_.pop_back();
  }
  making_->Bytes.clear();
  making_->Ends.clear();
  changed_.notify_all();
}

bool LinePipe::Next(std::string_view& line) {
  while (reading_ == nullptr || line_ == reading_->Ends.size()) {
    std::unique_lock lock(mutex_);
    if (reading_ != nullptr) {
      free_.push_back(std::move(reading_));
      firstBlock_ = false;
    }
    changed_.wait(lock, [this] { return !full_.empty() || closed_; });
    if (full_.empty()) return false;
    reading_ = std::move(full_.front());
    full_.pop_front();
    changed_.notify_all();
    line_ = 0;
    from_ = 0;
  }
  const std::size_t end = reading_->Ends[line_++];
  line = std::string_view(reading_->Bytes).substr(from_, end - from_);
  from_ = end;
  return true;
}

bool LinePipe::Rewind() {
  if (!firstBlock_) return false;
  line_ = 0;
  from_ = 0;
  return true;
}

bool LinePipe::Failed() const {
  const std::lock_guard lock(mutex_);
  return failed_;
}

void LinePipe::Abandon() {
  const std::lock_guard lock(mutex_);
  abandoned_ = true;
  changed_.notify_all();
}

}  // namespace theolink
