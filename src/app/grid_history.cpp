#include "app/grid_history.h"

#include <algorithm>
#include <utility>

namespace theolink {
namespace {

std::size_t RowsBytes(const GridRows& rows) {
  std::size_t bytes = rows.size() * sizeof(GridRows::value_type);
  for (const auto& row : rows) {
    bytes += row.size() * sizeof(std::string);
    // Short texts live inside the string itself.
    for (const std::string& cell : row)
      if (cell.size() >= sizeof(std::string)) bytes += cell.capacity();
  }
  return bytes;
}

}  // namespace

std::size_t StepBytes(const GridStep& step) { return sizeof(GridStep) + RowsBytes(step.before) + RowsBytes(step.after); }

void GridHistory::Clear() {
  steps_.clear();
  bytes_ = 0;
  base_ = position_ = 0;
  saved_ = 0;
  droppedChange_ = false;
  open_ = false;
}

void GridHistory::Record(GridStep step) {
  const bool atEnd = position_ == base_ + steps_.size();
  if (step.typing && open_ && atEnd && !steps_.empty()) {
    GridStep& last = steps_.back();
    if (last.typing && last.at == step.at && last.column == step.column && last.after.size() == 1 &&
        step.after.size() == 1) {
      bytes_ -= StepBytes(last);
      last.after = std::move(step.after);
      last.changes = last.changes || step.changes;
      bytes_ += StepBytes(last);
      while (bytes_ > maxBytes_ && !steps_.empty()) DropOldest();
      return;
    }
  }
  // What was undone cannot be done again after a new edit.
  while (position_ < base_ + steps_.size()) {
    bytes_ -= StepBytes(steps_.back());
    steps_.pop_back();
  }
  if (saved_ && *saved_ > position_) saved_.reset();
  open_ = step.typing;
  bytes_ += StepBytes(step);
  steps_.push_back(std::move(step));
  ++position_;
  while (!steps_.empty() && (steps_.size() > maxSteps_ || bytes_ > maxBytes_)) DropOldest();
}

void GridHistory::DropOldest() {
  const GridStep& oldest = steps_.front();
  if (saved_ && *saved_ <= base_ && oldest.changes) droppedChange_ = true;
  bytes_ -= StepBytes(oldest);
  steps_.pop_front();
  ++base_;
  if (steps_.empty()) open_ = false;
}

const GridStep* GridHistory::NextUndo() const {
  return position_ > base_ ? &steps_[position_ - base_ - 1] : nullptr;
}

const GridStep* GridHistory::NextRedo() const {
  return position_ < base_ + steps_.size() ? &steps_[position_ - base_] : nullptr;
}

bool GridHistory::Undo() {
  if (NextUndo() == nullptr) return false;
  --position_;
  open_ = false;
  return true;
}

bool GridHistory::Redo() {
  if (NextRedo() == nullptr) return false;
  ++position_;
  open_ = false;
  return true;
}

void GridHistory::MarkSaved() {
  saved_ = position_;
  droppedChange_ = false;
}

bool GridHistory::Modified() const {
  if (!saved_) return true;
  const std::size_t saved = *saved_;
  if (saved == position_) return false;
  bool changed = saved < base_ && droppedChange_;
  const std::size_t from = std::max(std::min(saved, position_), base_);
  const std::size_t to = std::max(saved, position_);
  for (std::size_t i = from; i < to && !changed; ++i) changed = steps_[i - base_].changes;
  return changed;
}

}  // namespace theolink
