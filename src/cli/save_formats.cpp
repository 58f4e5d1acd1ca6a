#include "cli/save_formats.h"

#include <string>

namespace theolink::cli {

std::string_view DataKindName(int dataKind) {
  switch (dataKind) {
    case DataKindMeasure:
      return "a measurement job";
    case DataKindCoord:
      return "coordinates";
    default:
      return "codes";
  }
}

void PrintSaveFormats(std::ostream& out) {
  int kind = 0;
  for (const SaveFormat& f : SaveFormats()) {
    // Rows without a description are the dialog's other endings of a listed format.
    if (f.Help.empty()) continue;
    if (f.Kind != kind) {
      kind = f.Kind;
      out << " for " << DataKindName(kind) << ":\n";
    }
    out << "  " << f.Name << std::string(12 - f.Name.size(), ' ') << f.Help << '\n';
  }
}

void PrintFormatNames(int dataKind, std::ostream& out) {
  for (const SaveFormat& f : SaveFormats())
    if (f.Kind == dataKind && !f.Help.empty()) out << ' ' << f.Name;
}

}  // namespace theolink::cli
