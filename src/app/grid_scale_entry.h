#pragma once
// The grid scale as the settings keep it: a number from 0.9 to 1.1 with at most six
// decimals. What a typed text becomes when the settings dialog's edit is left or Confirm
// is pressed, or when the command line is given one.
#include <optional>
#include <string>
#include <string_view>

#include "records/text_id.h"

namespace theolink {

// The text the value is kept as: two decimals, or as many up to six as it needs ("1.00",
// "0.9996", "1.000123"). Nothing when it lies outside 0.9..1.1 or six decimals cannot hold
// it exactly; it is never rounded.
std::optional<std::string> KeptGridScaleText(double value);

struct GridScaleEntry {
  bool accepted = false;
  std::string text;       // what the edit shows afterwards
  double value = 1.0;     // the last accepted grid scale afterwards
  TextId refusal = TextId::GridScaleRange;  // the message when not accepted
};

// Judges typed: a text that is no number or lies outside the range is refused with
// GridScaleRange, one with more than six decimals with GridScaleDecimals; lastAccepted is
// then kept.
GridScaleEntry CheckGridScale(std::string_view typed, double lastAccepted);

}  // namespace theolink
