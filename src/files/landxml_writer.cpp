#include "files/landxml_writer.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "files/markup_text.h"
#include "records/default_names.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

// The moment the file is written, as "date" and "time" attributes (both required).
std::string DateAndTime() {
  std::time_t now = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
    long long value = 0;
    const std::string_view text(epoch);
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc()) now = static_cast<std::time_t>(value);
  }
  // UTC by the calendar of <chrono>: the same on every system (Windows has no gmtime_r).
  using namespace std::chrono;
  const sys_seconds moment{seconds{static_cast<long long>(now)}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss clock{moment - day};
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "date=\"%04d-%02u-%02u\" time=\"%02d:%02d:%02d\"", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()), int(clock.minutes().count()),
                int(clock.seconds().count()));
  return buffer.data();
}

std::string_view AngularUnit(const Settings& settings) {
  // Nothing angular is written; mil has no LandXML name.
  switch (settings.AngleUnit) {
    case 0:
      return "decimal dd.mm.ss";
    case 1:
      return "grads";
    default:
      return "decimal degrees";
  }
}

std::string UnitsElement(const Settings& settings) {
  const std::string angular(AngularUnit(settings));
  const std::string angles = "angularUnit=\"" + angular + "\" directionUnit=\"" + angular + "\"/>";
  if (settings.DistanceUnit == 1 || settings.DistanceUnit == 2)
    return std::string("  <Imperial areaUnit=\"squareFoot\" linearUnit=\"") +
           (settings.DistanceUnit == 1 ? "USSurveyFoot" : "foot") +
           "\" volumeUnit=\"cubicFeet\" temperatureUnit=\"fahrenheit\" pressureUnit=\"inHG\" " + angles;
  return "  <Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\" "
         "temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" " + angles;
}

}  // namespace

std::optional<ExportRefusal> WriteLandXml(const WorkingData& points, LineOut lines, const Settings& settings,
                                          TaskProgress* progress) {
  const std::vector<PointRecord>& list = points.PointList;
  lines.Reserve(list.size() + 12);
  lines.Add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  lines.Add("<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2 "
            "http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\" version=\"1.2\" " +
            DateAndTime() + " readOnly=\"false\">");
  lines.Add(" <Units>");
  lines.Add(UnitsElement(settings));
  lines.Add(" </Units>");
  if (!settings.Crs.empty()) {
    std::string system = " <CoordinateSystem name=\"";
    AppendXmlText(system, settings.Crs);
    system += "\" epsgCode=\"";
    AppendXmlText(system, settings.Crs.substr(settings.Crs.find(':') + 1));
    system += "\"/>";
    lines.Add(system);
  }
  lines.Add(" <Application name=\"Theolink II\" manufacturer=\"The Theolink II developers\"/>");
  lines.Add(" <CgPoints>");
  const int form = DistanceFormCode(settings);
  std::string row;
  for (std::size_t i = 0; i < list.size(); ++i) {
    ReportEvery(progress, i, list.size());
    const PointRecord& p = list[i];
    row = "  <CgPoint";
    AppendXmlData(row, " name=\"", ShownNameView(p.Name), "\"");
    if (!p.Code.Empty()) {
      AppendXmlData(row, " code=\"", p.Code.View(), "\"");
      AppendXmlData(row, " desc=\"", p.Code.View(), "\"");
    }
    row += '>';
    AppendDistance(row, p.North, form);
    row += ' ';
    AppendDistance(row, p.East, form);
    row += ' ';
    AppendDistance(row, p.Elevation, form);
    row += "</CgPoint>";
    lines.Add(row);
  }
  lines.Add(" </CgPoints>");
  lines.Add("</LandXML>");
  return std::nullopt;
}

}  // namespace theolink
