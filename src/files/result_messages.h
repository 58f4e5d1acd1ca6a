#pragma once
// The files layer's one mapping from result codes to what the user is shown: probing a
// file, reading a binary file, loading a keyword job.
#include <optional>
#include <string>
#include <string_view>

#include "records/job_check.h"
#include "records/text_id.h"
#include "records/user_message.h"

namespace theolink {

// For a ProbeResult (files/file_open.h).
UserMessage ProbeMessage(int code);
// For a BinaryResult (records/binary_file.h).
UserMessage BinaryReadMessage(int code);
// The same for the file at path: a file that holds bytes is never called empty; one that
// ends inside its header is in the wrong format.
UserMessage BinaryReadMessage(int code, const std::string& path);
// Nothing for a job that passed; else the fixed English text of the stage that failed.
UserMessage MeasureLoadMessage(JobCheckStage stage);

}  // namespace theolink
