#include "files/working_data.h"

namespace theolink {

void ClearMeasureData(WorkingData& data) {
  data.MeasurementList.clear();
  data.JobName.clear();
  data.InstrumentName.clear();
}

void ClearCoordData(WorkingData& data) { data.PointList.clear(); }

void ClearCodeData(WorkingData& data) { data.CodeList.clear(); }

}  // namespace theolink
