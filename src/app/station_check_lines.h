#pragma once
// The station check as lines a person reads: what theolink-cli show --station-check prints
// and what a window list can show, one line per item.
#include <string>
#include <vector>

#include "files/station_check.h"
#include "records/measure_record.h"
#include "records/settings.h"

namespace theolink {

// A heading with the units, K, the grid scale and the limits, then per station its name
// and, indented by two blanks, its orientations, backsight distances, residuals, face
// differences and warnings.
// Lengths are in the distance unit and angles in the angle unit of the settings; a value
// that rounds to zero has no minus sign. Texts are in the language given (0 Chinese, else
// English) and UTF-8 throughout: names in GBK are converted.
std::vector<std::string> StationCheckLines(const std::vector<MeasureRecord>& records,
                                           const std::vector<StationCheck>& checks, const Settings& settings,
                                           int language);

}  // namespace theolink
