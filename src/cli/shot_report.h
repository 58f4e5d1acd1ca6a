#pragma once
// What theolink-cli prints about the polar reduction of a job's shots.
#include <ostream>

#include "files/shot_reduction.h"
#include "files/working_data.h"
#include "records/settings.h"

namespace theolink::cli {

// "Shots reduced: N; not reduced: M", followed by the count per reason when M is not 0;
// then, when targets were read in both faces, how many.
void PrintReductionSummary(const ShotReduction& reduction, std::ostream& out);

// One tab-separated row per SC shot with an observation, in list order: name, code,
// station, the residuals stored minus computed (north and east in the coordinate order of
// the settings, then elevation) and the largest of them by size, in the distance unit of
// the settings; a shot that could not be reduced says why in place of the numbers. Then
// the summary.
void PrintResiduals(const WorkingData& data, const Settings& settings, std::ostream& out);

// The station check of the job, one line each, in the program language.
void PrintStationCheck(const WorkingData& data, const Settings& settings, std::ostream& out);

}  // namespace theolink::cli
