#include "files/dxf_writer.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "records/default_names.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

std::string Metres(double value) { return FormatDistance(value, DistanceMetre); }

void Emit(LineOut lines, std::initializer_list<std::string_view> items) { lines.AddAll(items); }

void EmitLabel(LineOut lines, std::string_view layer, std::string_view x, std::string_view y, std::string_view text) {
  Emit(lines, {"0", "TEXT", "8", layer, "10", x, "20", y, "40", "0.8", "1", text});
}

// A value's text in a buffer kept from point to point; the labels repeat some values, so
// each is formatted once.
struct MetreField {
  std::string Text;
  std::string_view Set(double value) {
    Text.clear();
    AppendDistance(Text, value, DistanceMetre);
    return Text;
  }
};

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
  MetreField labelX, labelY, north, east, elevation;
  for (const PointRecord& p : points) {
    const std::string_view name = p.Name.Empty() ? kNoName : p.Name.View();
    const std::string_view description = Trim(p.Code.View()).empty() ? std::string_view(" ") : p.Code.View();
    const std::string_view x = labelX.Set(p.North + 1);
    const std::string_view z = elevation.Set(p.Elevation);
    EmitLabel(lines, "PNTNO", x, labelY.Set(p.East - 1), name);
    EmitLabel(lines, "PNTELEV", x, labelY.Set(p.East - 2), z);
    EmitLabel(lines, "PNTDESC", x, labelY.Set(p.East - 3), description);
    Emit(lines, {"0", "POINT", "8", "0", "62", "1", "10", north.Set(p.North), "20", east.Set(p.East), "30", z});
  }
  Emit(lines, {"0", "ENDSEC", "0", "EOF"});
}

}  // namespace theolink
