#include "cli/save_formats.h"

#include <optional>
#include <string>

namespace theolink::cli {

std::string_view DataKindName(DataKind dataKind) {
  switch (dataKind) {
    case DataKind::Measure:
      return "a measurement job";
    case DataKind::Coord:
      return "coordinates";
    case DataKind::Code:
      return "codes";
  }
  return "codes";
}

void PrintSaveFormats(std::ostream& out) {
  std::optional<DataKind> kind;
  for (const SaveFormat& f : SaveFormats()) {
    // Rows without a description are the dialog's other endings of a listed format.
    if (f.Help.empty()) continue;
    if (f.Kind != kind) {
      kind = f.Kind;
      out << " for " << DataKindName(f.Kind) << ":\n";
    }
    out << "  " << f.Name << std::string(12 - f.Name.size(), ' ') << f.Help << '\n';
  }
}

void PrintFormatNames(DataKind dataKind, std::ostream& out) {
  for (const SaveFormat& f : SaveFormats())
    if (f.Kind == dataKind && !f.Help.empty()) out << ' ' << f.Name;
}

}  // namespace theolink::cli
