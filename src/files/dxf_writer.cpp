#include "files/dxf_writer.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

std::string Metres(double value) { return FormatDistance(value, DistanceMetre); }

void Emit(LineOut lines, std::initializer_list<std::string_view> items) {
  for (std::string_view item : items) lines.Add(item);
}

void EmitLabel(LineOut lines, std::string_view layer, double x, double y, std::string_view text) {
  Emit(lines, {"0", "TEXT", "8", layer, "10", Metres(x), "20", Metres(y), "40", "0.8", "1", text});
}

// Labels are bytes in the Chinese code page; CAD programs only read them right when the
// header says so. An all-ASCII drawing stays as it always was.
bool AnyLabelBeyondAscii(const std::vector<PointRecord>& points) {
  const auto beyond = [](std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 128; });
  };
  return std::any_of(points.begin(), points.end(),
                     [&](const PointRecord& p) { return beyond(p.Name.View()) || beyond(p.Code.View()); });
}

}  // namespace

void WriteDxf(const WorkingData& data, LineOut lines) {
  const std::vector<PointRecord>& points = data.PointList;
  lines.Reserve(30 + points.size() * 50);
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
  if (AnyLabelBeyondAscii(points)) Emit(lines, {"9", "$DWGCODEPAGE", "3", "ANSI_936"});
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
