#pragma once
// Short English texts for the records layer's result codes, the one place they are worded.
#include <cstdint>
#include <string_view>

namespace theolink {

// For a PreprocessResult (any other number: "unknown result").
std::string_view PreprocessFailureText(std::int32_t code);
// For a RecordResult (any other number: "unknown result").
std::string_view RecordFailureText(std::int32_t code);

}  // namespace theolink
