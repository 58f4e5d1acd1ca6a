#include "app/grid_write_back.h"

#include <utility>

#include "app/grid_cells.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

const std::string& CellOf(const std::vector<std::string>& row, int column) {
  static const std::string empty;
  return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : empty;
}

bool HasIllegalByte(const std::string& text) {
  for (char c : text)
    if (!IsAllowedNameByte(static_cast<unsigned char>(c))) return true;
  return false;
}

}  // namespace

GridWriteResult WriteGridToPoints(const GridRows& rows, bool gridModified, const Settings& settings,
                                  WorkingData& data) {
  if (!gridModified) return {};
  if (data.DataKind != DataKind::Coord) return {FixedMessage("ERROR: coordinate mode expected."), std::nullopt};
  const int form = DistanceFormCode(settings);
  const int northColumn = IsNorthFirst(settings) ? 2 : 3;
  const int eastColumn = IsNorthFirst(settings) ? 3 : 2;
  std::vector<PointRecord> points;
  points.reserve(rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::vector<std::string>& row = rows[r];
    if (CellOf(row, 1).empty()) continue;
    PointRecord point;
    point.Name.Assign(CellOf(row, 1));
    point.Code.Assign(CellOf(row, 5));
    // North, east, elevation: the first cell that does not read stops the write.
    for (const auto& [column, target] : {std::pair{northColumn, &point.North}, std::pair{eastColumn, &point.East},
                                         std::pair{4, &point.Elevation}}) {
      double value = 0;
      if (!TryParseNumber(CellOf(row, column), value))
        return {FixedMessage("ERROR: not a number."), GridCell{static_cast<int>(r), column}};
      *target = ParseDistance(CellOf(row, column), form);
    }
    points.push_back(point);
  }
  data.PointList = std::move(points);
  return {};
}

GridWriteResult WriteGridToCodes(const GridRows& rows, WorkingData& data) {
  std::vector<CodeEntry> codes;
  for (const std::vector<std::string>& row : rows)
    if (!CellOf(row, 1).empty()) codes.push_back(CodeEntry{NameText(CellOf(row, 1))});
  data.CodeList = std::move(codes);
  return {};
}

std::optional<GridCell> FindIllegalCharacter(const GridRows& rows, DataKind dataKind) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int row = static_cast<int>(r);
    if (dataKind == DataKind::Coord && HasIllegalByte(CellOf(rows[r], 5))) return GridCell{row, 5};
    if (HasIllegalByte(CellOf(rows[r], 1))) return GridCell{row, 1};
  }
  return std::nullopt;
}

GridReturn ReturnFromGrid(const GridRows& rows, bool gridModified, const Settings& settings, WorkingData& data) {
  // The write-back comes first: a refused character keeps the editor open on a list that
  // already holds the grid.
  if (data.DataKind == DataKind::Coord) {
    const GridWriteResult written = WriteGridToPoints(rows, gridModified, settings, data);
    if (!written.Ok()) return {TextId::WrongCoordinateFormat, written.badCell, false};
  } else {
    WriteGridToCodes(rows, data);
  }
  if (const auto bad = FindIllegalCharacter(rows, data.DataKind)) return {TextId::IllegalCharacter, bad, false};
  return {std::nullopt, std::nullopt, true};
}

}  // namespace theolink
