#pragma once
// The files layer's one mapping from result codes to what the user is shown: probing a
// file, reading a binary file, loading a keyword job.
#include <optional>
#include <string>
#include <string_view>

#include "records/job_check.h"
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

inline ShownMessage TableMessage(TextId id) { return ShownMessage{id, {}, {}}; }

// For a ProbeResult (files/file_open.h).
ShownMessage ProbeMessage(int code);
// For a BinaryResult (records/binary_file.h).
ShownMessage BinaryReadMessage(int code);
// The same for the file at path: a file that holds bytes is never called empty; one that
// ends inside its header is in the wrong format.
ShownMessage BinaryReadMessage(int code, const std::string& path);
// "OK", or the fixed English text LoadMeasureLines gives for a failed stage.
std::string_view MeasureLoadText(JobCheckStage stage);

}  // namespace theolink
