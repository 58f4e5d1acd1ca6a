#pragma once
// The command line's view of the save formats (files/save_formats.h): their help listing and
// the names a data kind offers.
#include <ostream>
#include <string_view>

#include "files/save_formats.h"

namespace theolink::cli {

// "a measurement job", "coordinates" or "codes".
std::string_view DataKindName(DataKind dataKind);
// The help listing: every format with its description, grouped by data kind.
void PrintSaveFormats(std::ostream& out);
// Writes " name name ..." for the formats one data kind offers.
void PrintFormatNames(DataKind dataKind, std::ostream& out);

}  // namespace theolink::cli
