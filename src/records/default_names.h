#pragma once
// The names a job, an instrument or a point is given when its text has none.
#include <string_view>

namespace theolink {

// A job without a JOB header, a point or file name that leaves nothing.
inline constexpr std::string_view kNoName = "NONAME";
// A job without an INST header. Work files saved before hold "UNKNOW"; that is read back as
// any other instrument text.
inline constexpr std::string_view kUnknownInstrument = "UNKNOWN";

}  // namespace theolink
