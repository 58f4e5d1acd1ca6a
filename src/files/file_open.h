#pragma once
// Opening a file as the Open button does, after the dialog: probe text or binary, read
// binary jobs and coordinate lists through the binary readers, classify text by content.
// Nothing is shown here; the caller shows the returned messages in order.
#include <optional>
#include <string>
#include <vector>

#include "files/working_data.h"
#include "records/line_list.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// A message for the user: a table text, or a fixed text (with its own caption, or the
// application title when Caption is empty).
struct ShownMessage {
  std::optional<TextId> Id;
  std::string Text;
  std::string Caption;

  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

struct OpenOutcome {
  std::vector<ShownMessage> Messages;
  // False when the file could not even be probed: the views stay as they were. Otherwise
  // the window rebuilds its views from the working data.
  bool RefreshViews = false;
};

inline constexpr int ProbeText = 1;
inline constexpr int ProbeBinary = 2;

// 1 text, 2 binary (a byte outside printable ASCII and white space within the first 100),
// -1 cannot be opened, -2 empty, -3 nothing could be read.
int ProbeFileKind(const std::string& path);

// The whole open operation on a chosen file.
OpenOutcome OpenDataFile(WorkingData& data, const std::string& path, const Settings& settings);
// A file that probed as binary, dispatched by its extension. One whose extension names no
// binary reader is tried as text before it is refused.
OpenOutcome OpenBinaryFile(WorkingData& data, const std::string& path, const Settings& settings);
OpenOutcome OpenMeasureBinary(WorkingData& data, const std::string& path);
OpenOutcome OpenCoordBinary(WorkingData& data, const std::string& path);

// The file name without folder and extension; "NONAME" when that leaves nothing.
std::string FileNameStem(const std::string& path);
// The extension as the binary dispatch sees it: the last '.' and up to three characters
// after it, lower case ("" when there is no '.' in the file name).
std::string BinaryExtension(const std::string& path);
// Drops every line that is empty after trimming; the others keep order and text.
void RemoveBlankLines(LineList& lines);

ShownMessage ProbeMessage(int code);
ShownMessage BinaryReadMessage(int code);

}  // namespace theolink
