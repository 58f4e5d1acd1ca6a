#include "files/dxf_writer.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

#include "records/default_names.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

std::string Metres(double value) { return FormatDistance(value, DistanceMetre); }

void Emit(LineOut lines, std::initializer_list<std::string_view> items) { lines.AddAll(items); }

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

void WriteDxf(const WorkingData& data, LineOut lines, TaskProgress* progress) {
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
  // A drawing is some fifty lines a point, most of them fixed: each point's lines are made
  // into text with their line ends, and a few dozen points go to the file in one copy.
  std::string text, x, z;
  for (std::size_t i = 0; i < points.size(); ++i) {
    ReportEvery(progress, i, points.size());
    const PointRecord& p = points[i];
    const std::string_view name = p.Name.Empty() ? kNoName : p.Name.View();
    const std::string_view description = Trim(p.Code.View()).empty() ? std::string_view(" ") : p.Code.View();
    x.clear();
    AppendDistance(x, p.North + 1, DistanceMetre);
    z.clear();
    AppendDistance(z, p.Elevation, DistanceMetre);
    const auto label = [&](std::string_view layer, double y, std::string_view value) {
      text += "0\r\nTEXT\r\n8\r\n";
      text += layer;
      text += "\r\n10\r\n";
      text += x;
      text += "\r\n20\r\n";
      AppendDistance(text, y, DistanceMetre);
      text += "\r\n40\r\n0.8\r\n1\r\n";
      text += value;
      text += "\r\n";
    };
    label("PNTNO", p.East - 1, name);
    label("PNTELEV", p.East - 2, z);
    label("PNTDESC", p.East - 3, description);
    text += "0\r\nPOINT\r\n8\r\n0\r\n62\r\n1\r\n10\r\n";
    AppendDistance(text, p.North, DistanceMetre);
    text += "\r\n20\r\n";
    AppendDistance(text, p.East, DistanceMetre);
    text += "\r\n30\r\n";
    text += z;
    text += "\r\n";
    if (text.size() >= (std::size_t{16} << 10) || i + 1 == points.size()) {
      lines.AddEnded(text);
      text.clear();
    }
  }
  Emit(lines, {"0", "ENDSEC", "0", "EOF"});
}

}  // namespace theolink
