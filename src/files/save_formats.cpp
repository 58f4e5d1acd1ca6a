#include "files/save_formats.h"

#include <array>

#include "files/csv_rows.h"
#include "files/dxf_writer.h"
#include "files/geojson_writer.h"
#include "files/kml_writer.h"
#include "files/landxml_writer.h"
#include "files/points_csv_writer.h"
#include "files/save_writers.h"

namespace theolink {
namespace {

using Refusal = std::optional<ExportRefusal>;

Refusal WriteCassPoints(const WorkingData& points, LineOut lines, const Settings& settings, TaskProgress* progress) {
  WriteCoordLines(points, lines, CoordLayoutCass, settings, progress);
  return std::nullopt;
}

Refusal WriteGts7Points(const WorkingData& points, LineOut lines, const Settings& settings, TaskProgress* progress) {
  WriteCoordLines(points, lines, CoordLayoutGts7, settings, progress);
  return std::nullopt;
}

Refusal WriteDxfPoints(const WorkingData& points, LineOut lines, const Settings&, TaskProgress* progress) {
  WriteDxf(points, lines, progress);
  return std::nullopt;
}

template <char Separator>
Refusal WriteCsvPoints(const WorkingData& points, LineOut lines, const Settings& settings, TaskProgress* progress) {
  WritePointsCsv(points, lines, settings, Separator, progress);
  return std::nullopt;
}

constexpr unsigned kJobPoints = kUsesReducedShots;
constexpr unsigned kGts7Measured = kNeedsGt7Name;
constexpr unsigned kJobWgs84 = kUsesReducedShots | kNeedsCrs;

// The descriptions are the dialog's own; the languages differ on purpose where they do (the
// GTS-7 coordinates of a job are .gt7 files in Chinese and .txt files in English).
constexpr std::array<SaveFormat, 28> kFormats = {{
    {DataKind::Measure, "csv", "逗号分隔测量文件(*.csv)", "Comma separator measured file(*.csv)", "*.csv", "*.csv",
     SaveWriter::MeasureCsv, nullptr, false, 0, "comma-separated measured data"},
    {DataKind::Measure, "csv", "逗号分隔测量文件(*.txt)", "Comma separator measured file(*.txt)", "*.txt", "*.txt",
     SaveWriter::MeasureCsv},
    {DataKind::Measure, "cass", "CASS格式已知点文件(*.dat)", "CASS coordinate file(*.dat)", "*.dat", "*.dat",
     SaveWriter::Points, &WriteCassPoints, false, kJobPoints, "CASS coordinates of the job's points"},
    {DataKind::Measure, "dxf", "DXF已知点文件(*.dxf)", "DXF coordinate file(*.dxf)", "*.dxf", "*.dxf", SaveWriter::Points,
     &WriteDxfPoints, true, kJobPoints, "DXF drawing of the job's points"},
    {DataKind::Measure, "gt7-hd", "GTS-7边角测量数据文件 平距(*.gt7)", "GTS-7 measured file with HD(*.gt7)", "*.gt7",
     "*.gt7", SaveWriter::Gts7Hd, nullptr, false, kGts7Measured | kUsesKAndGridScale,
     "GTS-7 measured, observations, horizontal distances (.gt7)"},
    {DataKind::Measure, "gt7-sd", "GTS-7边角测量数据文件 斜距(*.gt7)", "GTS-7 measured file with SD(*.gt7)", "*.gt7",
     "*.gt7", SaveWriter::Gts7Sd, nullptr, false, kGts7Measured,
     "GTS-7 measured, observations, slope distances (.gt7)"},
    {DataKind::Measure, "gt7-all", "GTS-7所有测量数据文件(*.gt7)", "GTS-7 measured file with all data(*.gt7)", "*.gt7",
     "*.gt7", SaveWriter::Gts7All, nullptr, false, kGts7Measured, "GTS-7 measured, all data (.gt7)"},
    {DataKind::Measure, "gts7-coord", "GTS-7格式已知点文件(*.gt7)", "GTS-7 coordinate File(*.txt)", "*.gt7", "*.txt",
     SaveWriter::Points, &WriteGts7Points, false, kJobPoints, "GTS-7 coordinates of the job's points"},
    {DataKind::Measure, "wkj", "工作文件(*.wkj)", "TS job file(*.wkj)", "*.wkj", "*.wkj", SaveWriter::WorkFile, nullptr,
     false, 0, "keyword-line work file"},
    {DataKind::Measure, "landxml", "LandXML 1.2 点文件(*.xml)", "LandXML 1.2 point file(*.xml)", "*.xml", "*.xml",
     SaveWriter::Points, &WriteLandXml, true, kJobPoints, "LandXML 1.2 CgPoints"},
    {DataKind::Measure, "geojson", "GeoJSON 点文件 WGS 84(*.geojson)", "GeoJSON points in WGS 84(*.geojson)", "*.geojson",
     "*.geojson", SaveWriter::Points, &WriteGeoJson, true, kJobWgs84, "GeoJSON in WGS 84 (needs --crs)"},
    {DataKind::Measure, "kml", "KML 点文件 WGS 84(*.kml)", "KML placemarks in WGS 84(*.kml)", "*.kml", "*.kml",
     SaveWriter::Points, &WriteKml, true, kJobWgs84, "KML placemarks in WGS 84 (needs --crs)"},
    {DataKind::Measure, "gis-csv", "带表头的坐标文件 逗号分隔(*.csv)", "Coordinates with header, comma(*.csv)", "*.csv", "*.csv",
     SaveWriter::Points, &WriteCsvPoints<','>, true, kJobPoints, "UTF-8 CSV with a header, commas"},
    {DataKind::Measure, "gis-csv-sc", "带表头的坐标文件 分号分隔(*.csv)", "Coordinates with header, semicolon(*.csv)", "*.csv",
     "*.csv", SaveWriter::Points, &WriteCsvPoints<';'>, true, kJobPoints, "UTF-8 CSV with a header, semicolons"},
    {DataKind::Measure, "gis-csv-tab", "带表头的坐标文件 制表符分隔(*.txt)", "Coordinates with header, tab(*.txt)", "*.txt",
     "*.txt", SaveWriter::Points, &WriteCsvPoints<'\t'>, true, kJobPoints, "UTF-8 text with a header, tabs"},
    {DataKind::Coord, "cass", "CASS格式已知点文件(*.dat)", "CASS coordinate file(*.dat)", "*.dat", "*.dat",
     SaveWriter::Points, &WriteCassPoints, false, 0, "CASS coordinates"},
    {DataKind::Coord, "dxf", "DXF已知点文件(*.dxf)", "DXF coordinate file(*.dxf)", "*.dxf", "*.dxf", SaveWriter::Points,
     &WriteDxfPoints, true, 0, "DXF drawing"},
    {DataKind::Coord, "cass", "CASS格式已知点文件(*.txt)", "CASS coordinate file(*.txt)", "*.txt", "*.txt",
     SaveWriter::Points, &WriteCassPoints},
    {DataKind::Coord, "cass", "CASS格式已知点文件(*.csv)", "CASS coordinate file(*.csv)", "*.csv", "*.csv",
     SaveWriter::Points, &WriteCassPoints},
    {DataKind::Coord, "gts7-coord", "GTS-7格式已知点文件(*.txt)", "GTS-7 coordinate File(*.txt)", "*.txt", "*.txt",
     SaveWriter::Points, &WriteGts7Points, false, 0, "GTS-7 coordinates"},
    {DataKind::Coord, "landxml", "LandXML 1.2 点文件(*.xml)", "LandXML 1.2 point file(*.xml)", "*.xml", "*.xml",
     SaveWriter::Points, &WriteLandXml, true, 0, "LandXML 1.2 CgPoints"},
    {DataKind::Coord, "geojson", "GeoJSON 点文件 WGS 84(*.geojson)", "GeoJSON points in WGS 84(*.geojson)", "*.geojson",
     "*.geojson", SaveWriter::Points, &WriteGeoJson, true, kNeedsCrs, "GeoJSON in WGS 84 (needs --crs)"},
    {DataKind::Coord, "kml", "KML 点文件 WGS 84(*.kml)", "KML placemarks in WGS 84(*.kml)", "*.kml", "*.kml",
     SaveWriter::Points, &WriteKml, true, kNeedsCrs, "KML placemarks in WGS 84 (needs --crs)"},
    {DataKind::Coord, "gis-csv", "带表头的坐标文件 逗号分隔(*.csv)", "Coordinates with header, comma(*.csv)", "*.csv", "*.csv",
     SaveWriter::Points, &WriteCsvPoints<','>, true, 0, "UTF-8 CSV with a header, commas"},
    {DataKind::Coord, "gis-csv-sc", "带表头的坐标文件 分号分隔(*.csv)", "Coordinates with header, semicolon(*.csv)", "*.csv",
     "*.csv", SaveWriter::Points, &WriteCsvPoints<';'>, true, 0, "UTF-8 CSV with a header, semicolons"},
    {DataKind::Coord, "gis-csv-tab", "带表头的坐标文件 制表符分隔(*.txt)", "Coordinates with header, tab(*.txt)", "*.txt",
     "*.txt", SaveWriter::Points, &WriteCsvPoints<'\t'>, true, 0, "UTF-8 text with a header, tabs"},
    {DataKind::Code, "codes", "编码文件(*.txt)", "Code file(*.txt)", "*.txt", "*.txt", SaveWriter::Codes, nullptr, false,
     0, "code list"},
    {DataKind::Code, "codes", "所有文件(*.*)", "Any file(*.*)", "*.*", "*.*", SaveWriter::Codes},
}};

}  // namespace

std::span<const SaveFormat> SaveFormats() { return kFormats; }

const SaveFormat* SaveFormatAt(DataKind kind, int filterIndex) {
  int index = 0;
  for (const SaveFormat& format : kFormats)
    if (format.Kind == kind && ++index == filterIndex) return &format;
  return nullptr;
}

const SaveFormat* FindSaveFormat(DataKind kind, std::string_view name) {
  for (const SaveFormat& format : kFormats)
    if (format.Kind == kind && format.Name == name) return &format;
  return nullptr;
}

bool IsSaveFormatName(std::string_view name) {
  for (const SaveFormat& format : kFormats)
    if (format.Name == name) return true;
  return false;
}

std::string SaveFilterText(DataKind kind, int language) {
  std::string filter;
  for (const SaveFormat& format : kFormats) {
    if (format.Kind != kind) continue;
    if (!filter.empty()) filter += '|';
    filter += language == 0 ? format.Chinese : format.English;
    filter += '|';
    filter += language == 0 ? format.ChinesePattern : format.EnglishPattern;
  }
  return filter;
}

}  // namespace theolink
