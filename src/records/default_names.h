#pragma once
// The names a job, an instrument or a point is given when its text has none.
#include <string_view>

namespace theolink {

// A job without a JOB header, a point or file name that leaves nothing.
inline constexpr std::string_view kNoName = "NONAME";
// A job without an INST header. "UNKNOW" is the spelling work files store and the window
// shows, so it is kept as it is.
inline constexpr std::string_view kUnknownInstrument = "UNKNOW";

}  // namespace theolink
