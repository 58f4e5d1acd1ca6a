#pragma once
// What opening a file changed in silence, said on standard error.
#include <ostream>
#include <string>

#include "files/file_open.h"
#include "files/working_data.h"

namespace theolink::cli {

// How many names or codes the load cut to 15 characters, and every two point names the
// cut made one. Nothing when nothing was cut.
void ReportCuts(const TextCuts& cuts, const std::string& path, std::ostream& err);

// After opening path: on failure its messages, then the file and the system's reason when
// it could not be opened at all, and false; on success the cuts, and true.
bool ReportOpen(const OpenOutcome& opened, const WorkingData& data, const std::string& path, std::ostream& err);

}  // namespace theolink::cli
