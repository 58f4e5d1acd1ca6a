#include "files/kml_writer.h"

#include <string>
#include <vector>

#include "files/markup_text.h"
#include "files/wgs84_points.h"
#include "records/fixed_text.h"

namespace theolink {
namespace {

void KmlRows(const std::vector<PointRecord>& list, const std::vector<LonLat>& wgs84, LineOut& lines, const Settings&) {
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
    AppendXmlData(row, "<name>", ShownNameView(p.Name), "</name>");
    if (!p.Code.Empty()) AppendXmlData(row, "<description>", p.Code.View(), "</description>");
    row += p.Station ? "<styleUrl>#station</styleUrl>" : "<styleUrl>#point</styleUrl>";
    if (!p.Code.Empty()) {
      row += "<ExtendedData><Data name=\"code\">";
      AppendXmlData(row, "<value>", p.Code.View(), "</value>");
      row += "</Data></ExtendedData>";
    }
    row += "<Point><coordinates>";
    AppendLonLatHeight(row, wgs84[i], p.Elevation);
    row += "</coordinates></Point></Placemark>";
    lines.Add(row);
  }
  lines.AddAll({"</Document>", "</kml>"});
}

}  // namespace

std::optional<ExportRefusal> WriteKml(const WorkingData& points, LineOut lines, const Settings& settings,
                                      TaskProgress* progress) {
  return WriteInWgs84(points, lines, settings, progress, KmlRows);
}

}  // namespace theolink
