#include "files/kml_writer.h"

#include <string>
#include <vector>

#include "files/markup_text.h"
#include "files/wgs84_points.h"
#include "records/fixed_text.h"

namespace theolink {
namespace {

void AppendElement(std::string& row, std::string_view name, std::string_view dataBytes) {
  row += '<';
  row += name;
  row += '>';
  AppendXmlText(row, DataTextUtf8(dataBytes));
  row += "</";
  row += name;
  row += '>';
}

}  // namespace

std::optional<ExportRefusal> WriteKml(const WorkingData& points, LineOut lines, const Settings& settings,
                                      TaskProgress* progress) {
  const std::vector<PointRecord>& list = points.PointList;
  std::vector<LonLat> wgs84;
  if (const auto refused = ToWgs84(list, settings, wgs84, progress)) return refused;
  lines.Reserve(list.size() + 12);
  lines.AddAll({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<kml xmlns=\"http://www.opengis.net/kml/2.2\">",
                "<Document>", "<name>Theolink II</name>",
                // Stations large and red, with their labels; other points small and white.
                "<Style id=\"station\"><IconStyle><color>ff0000ff</color><scale>1.3</scale></IconStyle>"
                "<LabelStyle><color>ff0000ff</color></LabelStyle></Style>",
                "<Style id=\"point\"><IconStyle><color>ffffffff</color><scale>0.8</scale></IconStyle>"
                "<LabelStyle><scale>0.8</scale></LabelStyle></Style>"});
  std::string row;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PointRecord& p = list[i];
    row = "<Placemark>";
    AppendElement(row, "name", ShownNameView(p.Name));
    if (!p.Code.Empty()) AppendElement(row, "description", p.Code.View());
    row += p.Station ? "<styleUrl>#station</styleUrl>" : "<styleUrl>#point</styleUrl>";
    if (!p.Code.Empty()) {
      row += "<ExtendedData><Data name=\"code\">";
      AppendElement(row, "value", p.Code.View());
      row += "</Data></ExtendedData>";
    }
    row += "<Point><coordinates>";
    AppendDecimals(row, wgs84[i].Lon, 9);
    row += ',';
    AppendDecimals(row, wgs84[i].Lat, 9);
    row += ',';
    AppendDecimals(row, p.Elevation, 4);
    row += "</coordinates></Point></Placemark>";
    lines.Add(row);
  }
  lines.AddAll({"</Document>", "</kml>"});
  return std::nullopt;
}

}  // namespace theolink
