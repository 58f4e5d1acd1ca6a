#pragma once
// The one current data set: a measurement job, a coordinate list or a code list.
#include <string>
#include <vector>

#include "files/text_cuts.h"
#include "records/measure_record.h"

namespace theolink {

inline constexpr int DataKindMeasure = 1;
inline constexpr int DataKindCoord = 2;
inline constexpr int DataKindCode = 3;

struct WorkingData {
  std::vector<MeasureRecord> MeasurementList;
  std::vector<PointRecord> PointList;
  std::vector<CodeEntry> CodeList;
  std::string JobName;
  std::string InstrumentName;
  int DataKind = DataKindMeasure;
  // What the last load cut to fit the records (names and codes of points and codes).
  TextCuts Cuts;
};

// Empties MeasurementList, JobName and InstrumentName.
void ClearMeasureData(WorkingData& data);
void ClearCoordData(WorkingData& data);
void ClearCodeData(WorkingData& data);

}  // namespace theolink
