#pragma once
// The parts of a file path the readers and the open operation look at. On Linux only '/'
// separates folders; ':' and '\' may be part of a file name.
#include <string>
#include <string_view>

namespace theolink {

// The file name: what follows the last '/' (the whole path when there is none).
std::string_view FileNamePart(std::string_view path);
// The file name in lower case: the binary readers choose their layout from it, so a folder
// named like "site.data" cannot change the choice.
std::string LowerFileName(std::string_view path);
// The file name without its extension; kNoName when that leaves nothing.
std::string FileNameStem(std::string_view path);
// The extension as the binary dispatch sees it: the last '.' and up to three characters
// after it, lower case ("" when there is no '.' in the file name).
std::string BinaryExtension(std::string_view path);

}  // namespace theolink
