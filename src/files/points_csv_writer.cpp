#include "files/points_csv_writer.h"

#include <string>

#include "files/markup_text.h"
#include "records/fixed_text.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

void AppendField(std::string& row, std::string_view text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
    row += text;
    return;
  }
  row += '"';
  for (const char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

}  // namespace

void WritePointsCsv(const WorkingData& points, LineOut lines, const Settings& settings, char separator,
                    TaskProgress* progress) {
  const std::vector<PointRecord>& list = points.PointList;
  lines.Reserve(list.size() + 1);
  const bool northFirst = IsNorthFirst(settings);
  std::string row = "\xEF\xBB\xBFname";
  for (const char* column : {"code", northFirst ? "N" : "E", northFirst ? "E" : "N", "Z"}) {
    row += separator;
    row += column;
  }
  lines.Add(row);
  const int form = DistanceFormCode(settings);
  for (std::size_t i = 0; i < list.size(); ++i) {
    ReportEvery(progress, i, list.size());
    const PointRecord& p = list[i];
    row.clear();
    AppendField(row, DataTextUtf8(ShownNameView(p.Name)), separator);
    row += separator;
    AppendField(row, DataTextUtf8(p.Code.View()), separator);
    row += separator;
    AppendDistance(row, northFirst ? p.North : p.East, form);
    row += separator;
    AppendDistance(row, northFirst ? p.East : p.North, form);
    row += separator;
    AppendDistance(row, p.Elevation, form);
    lines.Add(row);
  }
}

}  // namespace theolink
