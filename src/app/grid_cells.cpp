#include "app/grid_cells.h"

#include "files/working_data.h"
#include "records/value_forms.h"

namespace theolink {

GridColumnKind ColumnKind(DataKind dataKind, int column) {
  if (column <= 0) return GridColumnKind::Label;
  if (column == 1) return GridColumnKind::Text;
  if (dataKind == DataKind::Coord && column == 5) return GridColumnKind::Text;
  return GridColumnKind::Number;
}

bool IsNumberStart(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return text.empty() || text == ".";
}

std::size_t CharacterCount(std::string_view gbk) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < gbk.size(); ++i, ++count)
    if (static_cast<unsigned char>(gbk[i]) >= 0x81 && i + 1 < gbk.size()) ++i;
  return count;
}

CellCheck CheckCellText(GridColumnKind kind, std::string_view text) {
  if (text.empty()) return {};
  if (kind == GridColumnKind::Text) {
    if (CharacterCount(text) > 8) return {false, false, TextId::TooManyChar};
    return {};
  }
  if (kind != GridColumnKind::Number) return {};
  if (IsNumberStart(text)) return {true, false, std::nullopt};
  double value = 0;
  if (!TryParseNumber(text, value)) return {false, false, TextId::IllegalDataType};
  if (value >= 100000000.0 || value <= -100000000.0) return {false, false, TextId::OversizeOrUndersize};
  if (text.size() > (value >= 0 ? 13u : 14u)) return {false, false, TextId::TooManyData};
  return {};
}

std::vector<std::vector<std::string>> SplitPastedBlock(std::string_view text) {
  std::vector<std::vector<std::string>> rows;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      text.remove_prefix(end + 1);
    }
    std::vector<std::string>& row = rows.emplace_back();
    for (;;) {
      const std::size_t tab = line.find('\t');
      row.emplace_back(line.substr(0, tab));
      if (tab == std::string_view::npos) break;
      line.remove_prefix(tab + 1);
    }
  }
  return rows;
}

std::string JoinCopiedBlock(const std::vector<std::vector<std::string>>& rows, GridRect rect) {
  std::string block;
  if (rect.Empty() || rect.top < 0 || rect.left < 0) return block;
  for (int r = rect.top; r <= rect.bottom; ++r) {
    if (r > rect.top) block += '\n';
    for (int c = rect.left; c <= rect.right; ++c) {
      if (c > rect.left) block += '\t';
      if (static_cast<std::size_t>(r) < rows.size() && static_cast<std::size_t>(c) < rows[static_cast<std::size_t>(r)].size())
        block += rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    }
  }
  return block;
}

}  // namespace theolink
