#pragma once
// One keyword line: the keyword left-justified in 8 characters ("%-8s"), then the fields
// joined by "," with nothing added.
#include <initializer_list>
#include <string>
#include <string_view>

namespace theolink {

std::string KeywordLine(std::string_view keyword, std::initializer_list<std::string_view> fields);

}  // namespace theolink
