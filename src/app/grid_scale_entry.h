#pragma once
// The settings dialog's grid scale edit: what a typed text becomes when the edit is left
// or Confirm is pressed. A text that is not a number at all is refused like one out of range.
#include <string>
#include <string_view>

namespace theolink {

struct GridScaleEntry {
  bool accepted = false;  // false: show "Please input the number between 0.9 and 1.1."
  std::string text;       // what the edit shows afterwards ("%.2f")
  double value = 1.0;     // the last accepted grid scale afterwards
};

// Judges typed against the range 0.9..1.1; lastAccepted is kept when it is refused.
GridScaleEntry CheckGridScale(std::string_view typed, double lastAccepted);

}  // namespace theolink
