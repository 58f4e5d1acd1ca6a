#include "files/dxf_writer.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

std::string Metres(double value) { return FormatDistance(value, DistanceMetre); }

void Emit(LineSink& lines, std::initializer_list<std::string_view> items) {
  for (std::string_view item : items) lines.Add(item);
}

void EmitLabel(LineSink& lines, std::string_view layer, double x, double y, std::string_view text) {
  Emit(lines, {"0", "TEXT", "8", layer, "10", Metres(x), "20", Metres(y), "40", "0.8", "1", text});
}

}  // namespace

void WriteDxf(const WorkingData& data, LineList& lines) {
  lines.reserve(lines.size() + 30 + data.PointList.size() * 50);
  LineListSink sink(lines);
  WriteDxf(data, sink);
}

void WriteDxf(const WorkingData& data, LineSink& lines) {
  const std::vector<PointRecord>& points = data.PointList;
  double minN = 0, minE = 0, minZ = 0, maxN = 0, maxE = 0, maxZ = 0;
  if (!points.empty()) {
    minN = maxN = points.front().North;
    minE = maxE = points.front().East;
    minZ = maxZ = points.front().Elevation;
  }
  for (const PointRecord& p : points) {
    minN = std::min(minN, p.North);
    minE = std::min(minE, p.East);
    minZ = std::min(minZ, p.Elevation);
    maxN = std::max(maxN, p.North);
    maxE = std::max(maxE, p.East);
    maxZ = std::max(maxZ, p.Elevation);
  }
  Emit(lines, {"0", "SECTION", "2", "HEADER"});
  Emit(lines, {"9", "$EXTMIN", "10", Metres(minN), "20", Metres(minE), "30", Metres(minZ)});
  Emit(lines, {"9", "$EXTMAX", "10", Metres(maxN), "20", Metres(maxE), "30", Metres(maxZ)});
  Emit(lines, {"0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
  for (const PointRecord& p : points) {
    const std::string name = ShownName(p.Name);
    const std::string description = Trim(p.Code.View()).empty() ? std::string(" ") : p.Code.Str();
    EmitLabel(lines, "PNTNO", p.North + 1, p.East - 1, name);
    EmitLabel(lines, "PNTELEV", p.North + 1, p.East - 2, Metres(p.Elevation));
    EmitLabel(lines, "PNTDESC", p.North + 1, p.East - 3, description);
    Emit(lines, {"0", "POINT", "8", "0", "62", "1", "10", Metres(p.North), "20", Metres(p.East), "30",
                 Metres(p.Elevation)});
  }
  Emit(lines, {"0", "ENDSEC", "0", "EOF"});
}

}  // namespace theolink
