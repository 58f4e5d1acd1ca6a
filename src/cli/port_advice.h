#pragma once
// What to do about a port that would not open, in a line the user can act on.
#include <ostream>
#include <string>

namespace theolink::cli {

// Writes one line of advice for the system's code of a failed open (nothing when there is
// no useful advice).
void PrintPortAdvice(int osErrorCode, const std::string& port, std::ostream& err);

}  // namespace theolink::cli
