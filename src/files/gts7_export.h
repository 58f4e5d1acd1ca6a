#pragma once
// The measurement job as GTS-7 measured text, in the units of the settings.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/line_sink.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

enum class Gts7Mode {
  ObservationsOnly,  // SC without observation left out, SC with one written as SD, BS plain
  AllData,
};

// True when the file name (after its folder) is more than ".gt7" and ends in ".gt7", any case.
bool IsGts7FileName(const std::string& fileName);

// The refusal ExportGts7 gives for a target name and the settings' angle unit, if any.
std::optional<TextId> Gts7Refusal(const std::string& fileName, const Settings& settings);

// Checks the target name (must end in ".gt7", any case) and the angle unit (no mil), then
// WriteGts7 with the settings' K and grid scale. On a refusal returns the message and
// appends nothing.
std::optional<TextId> ExportGts7(const WorkingData& data, LineOut lines, const std::string& fileName, Gts7Mode mode,
                                 bool hdMode, const Settings& settings);

// Appends the GTS-7 text of the whole job (nothing when there is no job at all). In HD mode
// every slope observation becomes horizontal distance and height difference, corrected for
// earth curvature and refraction (k) and scaled when 0.9 < scale < 1.1.
void WriteGts7(const WorkingData& data, LineOut lines, Gts7Mode mode, double scale, double k, bool hdMode,
               const Settings& settings);

// WriteGts7 a part at a time, for a job written a run of records at a time: Header once,
// then Records for each run in order.
class Gts7Writer {
 public:
  Gts7Writer(Gts7Mode mode, double scale, double k, bool hdMode, const Settings& settings);
  // The JOB, INST and UNITS lines.
  void Header(const std::string& jobName, const std::string& instrumentName, LineOut lines) const;
  void Records(std::span<const MeasureRecord> records, LineOut lines) const;

 private:
  Gts7Mode mode_;
  bool hdMode_;
  int angleForm_, distanceForm_;
  double scale_, k_;
};

// The text of a record under GTS-7 keywords (STA -> STN, shots -> SS, HVD -> "SD ", ...);
// the replacements are plain text replacements over everything after the keyword column.
std::string MapGts7Keywords(const std::string& recordText);
// The same appended to out.
void AppendGts7Keywords(std::string& out, std::string_view recordText);

}  // namespace theolink
