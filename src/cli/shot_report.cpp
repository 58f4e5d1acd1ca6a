#include "cli/shot_report.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/language.h"
#include "app/station_check_lines.h"
#include "app/text_table.h"
#include "files/station_check.h"
#include "records/value_forms.h"

namespace theolink::cli {
namespace {

constexpr int kEnglish = 1;

const char* ReasonText(ShotSkip why) {
  switch (why) {
    case ShotSkip::NoDistance:
      return "without distance";
    case ShotSkip::NoStation:
      return "before any station";
    case ShotSkip::NoOrientation:
      return "at a station without backsight coordinates";
  }
  return "";
}

}  // namespace

void PrintReductionSummary(const ShotReduction& reduction, std::ostream& out) {
  out << "Shots reduced: " << reduction.Shots.size() << "; not reduced: " << reduction.Skipped.size();
  if (!reduction.Skipped.empty()) {
    const char* separator = " (";
    for (ShotSkip why : {ShotSkip::NoDistance, ShotSkip::NoStation, ShotSkip::NoOrientation}) {
      if (const std::size_t count = reduction.CountSkipped(why)) {
        out << separator << count << ' ' << ReasonText(why);
        separator = ", ";
      }
    }
    out << ')';
  }
  out << '\n';
  const auto means = std::count_if(reduction.Pairs.begin(), reduction.Pairs.end(),
                                   [](const FacePair& pair) { return pair.HasMean; });
  // In English, as the line before it.
  if (means > 0) out << FillText(PickText(TextId::FaceMeansReduced, kEnglish), {std::to_string(means)}) << '\n';
}

void PrintResiduals(const WorkingData& data, const Settings& settings, std::ostream& out) {
  const ShotReduction reduction = ReduceShots(data.MeasurementList, settings);
  const int form = DistanceFormCode(settings);
  const bool northFirst = IsNorthFirst(settings);
  std::vector<std::string> units;
  FillUnitNames(UnitKind::Distance, kEnglish, units);
  out << "Residuals, stored minus computed, in " << units[static_cast<std::size_t>(form - 1)] << '\n';
  out << "Point name\tCode\tStation\t" << (northFirst ? "dN\tdE" : "dE\tdN") << "\tdZ\tLargest\n";

  auto shot = reduction.Shots.begin();
  auto skipped = reduction.Skipped.begin();
  for (std::size_t i = 0; i < data.MeasurementList.size(); ++i) {
    while (shot != reduction.Shots.end() && shot->Record < i) ++shot;
    while (skipped != reduction.Skipped.end() && skipped->Record < i) ++skipped;
    const MeasureRecord& record = data.MeasurementList[i];
    if (record.Kind != KindCoordShot || record.CoordShot.HasObservation == 0) continue;
    out << ShownName(record.CoordShot.Name) << '\t' << record.CoordShot.Code.View() << '\t';
    if (shot != reduction.Shots.end() && shot->Record == i) {
      const double n = shot->ResidualNorth, e = shot->ResidualEast, z = shot->ResidualElevation;
      const double largest = std::max({std::fabs(n), std::fabs(e), std::fabs(z)});
      // A residual that rounds to zero has no sign.
      const auto length = [form](double metres) { return WithoutNegativeZero(FormatDistance(metres, form)); };
      out << ShownName(data.MeasurementList[shot->Station].Station.Name) << '\t' << length(northFirst ? n : e)
          << '\t' << length(northFirst ? e : n) << '\t' << length(z) << '\t' << length(largest) << '\n';
    } else {
      const ShotSkip why = skipped != reduction.Skipped.end() && skipped->Record == i ? skipped->Why
                                                                                     : ShotSkip::NoStation;
      out << "\t\t\t\tnot reduced, " << ReasonText(why) << '\n';
    }
  }
  PrintReductionSummary(reduction, out);
}

void PrintStationCheck(const WorkingData& data, const Settings& settings, std::ostream& out) {
  const std::vector<MeasureRecord>& records = data.MeasurementList;
  const std::vector<StationCheck> checks = CheckStations(records, settings);
  for (const std::string& line : StationCheckLines(records, checks, settings, CurrentLanguage())) out << line << '\n';
}

}  // namespace theolink::cli
