#include "app/window_modes.h"

#include <vector>

#include "app/text_table.h"
#include "files/line_loaders.h"
#include "files/shot_reduction.h"

namespace theolink {

ModeStep CoordModeStep(WorkingData& data, const Settings& settings, const AskOk& ask) {
  ModeStep step;
  switch (data.DataKind) {
    case DataKind::Measure:
      if (data.MeasurementList.empty()) {
        data.DataKind = DataKind::Coord;
        step.enterEditor = true;
        step.views = ViewUpdate::Init;
        return step;
      }
      if (!ask(TextId::AskExtraction)) return step;
      ClearCoordData(data);
      // With the reduced shots when the settings ask for them.
      ExtractJobPoints(data, settings);
      if (data.PointList.empty()) {
        step.notice = TextId::NoCoordinatePoint;
        return step;
      }
      data.DataKind = DataKind::Coord;
      ClearMeasureData(data);
      // The editor stays closed: a second Coord opens it on the extracted points.
      step.views = ViewUpdate::InitAndRefresh;
      return step;
    case DataKind::Coord:
      step.enterEditor = true;
      return step;
    case DataKind::Code:
      if (!data.CodeList.empty()) {
        if (!ask(TextId::AskClearData)) return step;
        ClearCodeData(data);
      }
      data.DataKind = DataKind::Coord;
      step.enterEditor = true;
      step.views = ViewUpdate::Init;
      return step;
  }
  return step;
}

ModeStep CodeModeStep(WorkingData& data, const AskOk& ask) {
  ModeStep step;
  if (!data.MeasurementList.empty() || !data.PointList.empty()) {
    if (!ask(TextId::AskClearData)) return step;
    ClearMeasureData(data);
    ClearCoordData(data);
  }
  data.DataKind = DataKind::Code;
  step.enterEditor = true;
  step.views = ViewUpdate::InitAndRefresh;
  return step;
}

ModeStep ReceiveModeStep(WorkingData& data, const AskOk& ask) {
  ModeStep step;
  if (data.MeasurementList.empty() && data.PointList.empty()) return step;
  if (!ask(TextId::AskClearData)) {
    step.declined = true;
    return step;
  }
  ClearMeasureData(data);
  ClearCoordData(data);
  step.views = ViewUpdate::InitAndRefresh;
  return step;
}

bool SendEnabledFor(DataKind dataKind) { return dataKind != DataKind::Measure; }

bool InTransferHintArea(int x, int y) { return (x > 0 && x < 57) || (y > 0 && y < 23); }

std::string CurrentUnitText(const Settings& settings, int language) {
  std::vector<std::string> angles, distances;
  FillUnitNames(UnitKind::Angle, language, angles);
  FillUnitNames(UnitKind::Distance, language, distances);
  auto pick = [](const std::vector<std::string>& names, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < names.size() ? names[static_cast<std::size_t>(index)]
                                                                         : std::string();
  };
  std::string text(PickText(TextId::CurrentUnitPrefix, language));
  text += pick(angles, settings.AngleUnit);
  text += ", ";
  text += pick(distances, settings.DistanceUnit);
  return text;
}

}  // namespace theolink
