#pragma once
// The output formats of convert and receive --to: the save dialog's filters by data kind.
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "files/working_data.h"

namespace theolink::cli {

struct SaveFormat {
  int DataKind;
  std::string_view Name;
  int FilterIndex;
  std::string_view Description;
};

std::span<const SaveFormat> SaveFormats();
// The format of that name offered for the data kind, or nothing.
const SaveFormat* FindSaveFormat(int dataKind, std::string_view name);
// True when some data kind offers a format of that name.
bool IsSaveFormatName(std::string_view name);
// "a measurement job", "coordinates" or "codes".
std::string_view DataKindName(int dataKind);
// The help listing: every format with its description, grouped by data kind.
void PrintSaveFormats(std::ostream& out);
// Writes " name name ..." for the formats one data kind offers.
void PrintFormatNames(int dataKind, std::ostream& out);

}  // namespace theolink::cli
