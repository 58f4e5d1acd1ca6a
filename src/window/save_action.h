#pragma once
// The window's one way into saving: the working data in the format of a save filter, or
// the text view's lines as they stand, written whole to the chosen file.
#include <optional>
#include <string>

#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// Writes data in the format of filter filterIndex of its DataKind's save filter. Returns
// the message of a refusal or failure; the target is then as it was.
std::optional<TextId> SaveWorkingData(WorkingData& data, int filterIndex, const std::string& path,
                                      const Settings& settings);
// Writes lines, each followed by CR LF.
std::optional<TextId> SaveViewLines(const LineList& lines, const std::string& path);

}  // namespace theolink
