#include "records/binary_layout_table.h"

#include <array>

#include "records/binary_layouts.h"
#include "records/file_name_parts.h"

namespace theolink {
namespace {

// The ranks keep the order in which a name's endings were always tried (x.job.mea is a .mea
// file); .coo files hold .mea records.
constexpr std::array<BinaryLayoutRow, 8> kRows = {{
    {".mea", BinaryFileKind::Measure, &ReadMeaLayouts, 1},
    {".job", BinaryFileKind::Measure, &ReadLayoutJ112, 3},
    {".dat", BinaryFileKind::Measure, &ReadLayoutD96, 2, true},
    {".jbf", BinaryFileKind::Measure, &ReadLayoutJ136, 4},
    {".coo", BinaryFileKind::Coord, &ReadMeaLayouts, 4},
    {".pts", BinaryFileKind::Coord, &ReadLayoutP56, 2},
    {".cor", BinaryFileKind::Coord, &ReadLayoutD96, 1},
    {".ptf", BinaryFileKind::Coord, &ReadLayoutP40, 3},
}};

}  // namespace

std::span<const BinaryLayoutRow> BinaryLayoutRows() { return kRows; }

const BinaryLayoutRow* FindBinaryLayout(std::string_view ending) {
  for (const BinaryLayoutRow& row : kRows)
    if (row.Ending == ending) return &row;
  return nullptr;
}

const BinaryLayoutRow* ChooseBinaryLayout(BinaryFileKind kind, std::string_view lowerFileName) {
  const BinaryLayoutRow* chosen = nullptr;
  for (const BinaryLayoutRow& row : kRows) {
    if (row.Kind != kind || lowerFileName.find(row.Ending) == std::string_view::npos) continue;
    if (chosen == nullptr || row.Rank < chosen->Rank) chosen = &row;
  }
  return chosen;
}

std::int32_t ReadBinaryFileOfKind(BinaryFileKind kind, const std::string& path, BinaryLayoutReader otherwise,
                                  LineOutput& lines) {
  const BinaryLayoutRow* layout = ChooseBinaryLayout(kind, LowerFileName(path));
  const BinaryLayoutReader read = layout != nullptr ? layout->Read : otherwise;
  if (read == nullptr) return kBinaryOk;
  BinaryFile file;
  if (file.Open(path) != kBinaryOk) return kBinaryCannotOpen;
  return read(BinaryInput(file), lines);
}

std::string BinaryPatterns(BinaryFileKind kind) {
  std::string patterns;
  for (const BinaryLayoutRow& row : kRows) {
    if (row.Kind != kind) continue;
    if (!patterns.empty()) patterns += ';';
    patterns += '*';
    patterns += row.Ending;
  }
  return patterns;
}

}  // namespace theolink
