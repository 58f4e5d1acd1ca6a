#pragma once
// What opening a file changed in silence, said on standard error.
#include <ostream>
#include <string>

#include "files/working_data.h"

namespace theolink::cli {

// How many names or codes the load cut to 15 characters, and every two point names the
// cut made one. Nothing when nothing was cut.
void ReportCuts(const WorkingData& data, const std::string& path, std::ostream& err);

}  // namespace theolink::cli
