#pragma once
// Lines made on one thread and read on another a block at a time, so that a reader that
// hands out lines (a binary reader) and a walk that asks for them run side by side.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "records/line_output.h"
#include "records/line_source.h"

namespace theolink {

class LinePipe final : public LineOutput, public LineSource {
 public:
  LinePipe();
  ~LinePipe() override;
  LinePipe(const LinePipe&) = delete;
  LinePipe& operator=(const LinePipe&) = delete;

  // The making side. Add waits while the reading side is several blocks behind; after
  // Abandon it drops the lines.
  void Add(std::string_view line) override;
  // No more lines will come; failed when the maker stopped short of its end.
  void Close(bool failed);

  // The reading side. Rewind works only while the first block is still being read.
  bool Next(std::string_view& line) override;
  bool Rewind() override;
  // True once a closed pipe has been read to its end and the maker failed.
  bool Failed() const override;
  // The reading side wants no more lines: the making side is no longer held up.
  void Abandon();

 private:
  struct Block {
    std::string Bytes;
    std::vector<std::uint32_t> Ends;  // where each line ends in Bytes
  };
  void Hand(std::unique_lock<std::mutex>& lock);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Block>> full_;
  std::vector<std::unique_ptr<Block>> free_;
  bool closed_ = false, failed_ = false, abandoned_ = false;
  std::unique_ptr<Block> making_;   // the making side's
  std::unique_ptr<Block> reading_;  // the reading side's
  std::size_t line_ = 0, from_ = 0;
  bool firstBlock_ = true;
};

}  // namespace theolink
