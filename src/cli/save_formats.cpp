#include "cli/save_formats.h"

#include <array>

#include "files/save_writers.h"

namespace theolink::cli {
namespace {

constexpr std::array<SaveFormat, 12> kFormats = {{
    {DataKindMeasure, "csv", MeasureFilterCsv, "comma-separated measured data"},
    {DataKindMeasure, "cass", MeasureFilterCass, "CASS coordinates of the job's points"},
    {DataKindMeasure, "dxf", MeasureFilterDxf, "DXF drawing of the job's points"},
    {DataKindMeasure, "gt7-hd", MeasureFilterGts7Hd, "GTS-7 measured, observations, horizontal distances (.gt7)"},
    {DataKindMeasure, "gt7-sd", MeasureFilterGts7Sd, "GTS-7 measured, observations, slope distances (.gt7)"},
    {DataKindMeasure, "gt7-all", MeasureFilterGts7All, "GTS-7 measured, all data (.gt7)"},
    {DataKindMeasure, "gts7-coord", MeasureFilterGts7Coord, "GTS-7 coordinates of the job's points"},
    {DataKindMeasure, "wkj", MeasureFilterJob, "keyword-line work file"},
    {DataKindCoord, "cass", CoordFilterCassDat, "CASS coordinates"},
    {DataKindCoord, "dxf", CoordFilterDxf, "DXF drawing"},
    {DataKindCoord, "gts7-coord", CoordFilterGts7, "GTS-7 coordinates"},
    {DataKindCode, "codes", 1, "code list"},
}};

}  // namespace

std::span<const SaveFormat> SaveFormats() { return kFormats; }

const SaveFormat* FindSaveFormat(int dataKind, std::string_view name) {
  for (const SaveFormat& f : kFormats)
    if (f.DataKind == dataKind && f.Name == name) return &f;
  return nullptr;
}

bool IsSaveFormatName(std::string_view name) {
  for (const SaveFormat& f : kFormats)
    if (f.Name == name) return true;
  return false;
}

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
  for (const SaveFormat& f : kFormats) {
    if (f.DataKind != kind) {
      kind = f.DataKind;
      out << " for " << DataKindName(kind) << ":\n";
    }
    out << "  " << f.Name << std::string(12 - f.Name.size(), ' ') << f.Description << '\n';
  }
}

void PrintFormatNames(int dataKind, std::ostream& out) {
  for (const SaveFormat& f : kFormats)
    if (f.DataKind == dataKind) out << ' ' << f.Name;
}

}  // namespace theolink::cli
