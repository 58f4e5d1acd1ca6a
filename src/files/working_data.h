#pragma once
// The one current data set: a measurement job, a coordinate list or a code list.
#include <string>
#include <vector>

#include "files/data_kind.h"
#include "files/text_cuts.h"
#include "records/measure_record.h"

namespace theolink {


struct WorkingData {
  std::vector<MeasureRecord> MeasurementList;
  std::vector<PointRecord> PointList;
  std::vector<CodeEntry> CodeList;
  std::string JobName;
  std::string InstrumentName;
  theolink::DataKind DataKind = theolink::DataKind::Measure;
  // What the last load cut to fit the records (names and codes of points and codes).
  TextCuts Cuts;
};

// Empties MeasurementList, JobName and InstrumentName.
void ClearMeasureData(WorkingData& data);
void ClearCoordData(WorkingData& data);
void ClearCodeData(WorkingData& data);

}  // namespace theolink
