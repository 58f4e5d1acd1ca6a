#pragma once
// The main window's working modes without any widget: what Coord and Code do to the
// working data, which question they ask, which views are rebuilt and whether the grid
// editor opens; the Send button's state for a mode; the hint areas; the units hint.
#include <functional>
#include <optional>
#include <string>

#include "files/working_data.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

enum class ViewUpdate { None, Init, InitAndRefresh };

struct ModeStep {
  ViewUpdate views = ViewUpdate::None;
  bool enterEditor = false;           // show page 1 and switch cell editing on
  std::optional<TextId> notice;       // a notice to show afterwards
  bool declined = false;              // the surveyor said Cancel: nothing else happens
};

// Asks an OK/Cancel question; true only for OK.
using AskOk = std::function<bool(TextId question)>;

// Coord: by the current DataKind, extract points from a job (after asking), open the
// coordinate editor, or leave the code list (after asking when it holds codes).
ModeStep CoordModeStep(WorkingData& data, const Settings& settings, const AskOk& ask);
// Code: asks before a job or points are discarded, then opens the code editor.
ModeStep CodeModeStep(WorkingData& data, const AskOk& ask);
// Receive: asks before a loaded job or points are cleared (codes are not looked at).
ModeStep ReceiveModeStep(WorkingData& data, const AskOk& ask);

// Send is enabled for points and codes once the views are prepared.
bool SendEnabledFor(DataKind dataKind);
// The Receive and Send hints show while the pointer is within these bounds of the
// 80 x 30 button; elsewhere the hint panel is emptied.
bool InTransferHintArea(int x, int y);
// "Current Unit: " followed by the angle and distance unit names, "DMS, Meter".
std::string CurrentUnitText(const Settings& settings, int language);

}  // namespace theolink
