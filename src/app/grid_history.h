#pragma once
// Undo and redo of the grid editor. A step keeps the rows of one region of the grid as
// they were before an edit and after it, so either can be put back; keystrokes in one cell
// add to one step until it is sealed. The history is bounded in steps and in bytes: the
// oldest steps go first. It also knows whether the grid differs from its saved state.
#include <cstddef>
#include <deque>
#include <optional>

#include "app/grid_write_back.h"

namespace theolink {

struct GridStep {
  int at = 0;            // first data row of the region
  GridRows before;       // the region's rows before the edit
  GridRows after;        // and after it
  int column = 1;        // the cell to show when the step is undone or done again
  bool changes = false;  // the edit changed the contents (sets the modified flag)
  bool typing = false;   // keystrokes into cell (at, column)
};

// The memory a step holds, as counted against the byte bound.
std::size_t StepBytes(const GridStep& step);

class GridHistory {
 public:
  static constexpr std::size_t kMaxSteps = 200;
  static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

  explicit GridHistory(std::size_t maxSteps = kMaxSteps, std::size_t maxBytes = kMaxBytes)
      : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

  // No steps; the grid as it is now counts as saved.
  void Clear();
  // An edit just done. The steps undone before it are gone; a typing step into the cell of
  // the open typing step joins it. A step larger than the whole byte bound empties the
  // history (it cannot be undone).
  void Record(GridStep step);
  // The next keystroke starts a step of its own.
  void Seal() { open_ = false; }

  // The step that Undo takes back, or Redo does again; nullptr when there is none.
  const GridStep* NextUndo() const;
  const GridStep* NextRedo() const;
  // Moves over that step; the caller puts its rows in place. False when there is none.
  bool Undo();
  bool Redo();

  // The grid as it is now is its saved state; or the saved state cannot be reached.
  void MarkSaved();
  void MarkUnsaved() { saved_.reset(); }
  // True when a step that changed the contents lies between the saved state and now.
  bool Modified() const;

  std::size_t StepCount() const { return steps_.size(); }
  std::size_t Bytes() const { return bytes_; }

 private:
  void DropOldest();

  std::size_t maxSteps_;
  std::size_t maxBytes_;
  std::deque<GridStep> steps_;
  std::size_t bytes_ = 0;
  // Positions count every step ever recorded: steps_[0] is step base_, and position_ steps
  // have been done.
  std::size_t base_ = 0;
  std::size_t position_ = 0;
  std::optional<std::size_t> saved_ = 0;
  bool droppedChange_ = false;  // a dropped step after the saved state changed the contents
  bool open_ = false;           // the last step takes further keystrokes of its cell
};

}  // namespace theolink
