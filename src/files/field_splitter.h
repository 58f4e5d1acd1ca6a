#pragma once
// Splitting one line of a comma- or colon-separated file into fields. Blanks (codes 1 to
// 32) separate fields as the delimiter does; a field may be double-quoted, with "" inside
// standing for one quote.
#include <cstddef>
#include <string_view>
#include <vector>

#include "records/line_list.h"

namespace theolink {

// The fields of line; a line of blanks only gives no field, a delimiter at the very end
// gives one last empty field. A zero byte ends the line.
LineList SplitQuotedFields(std::string_view line, char delimiter = ',');
// The same into fields, whose strings are reused from call to call; the number of fields.
std::size_t SplitQuotedFields(std::string_view line, char delimiter, LineList& fields);

// SplitQuotedFields as views into line, for a line without a quote: false (fields then
// unspecified) when the line holds one.
bool SplitUnquotedFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields);

}  // namespace theolink
