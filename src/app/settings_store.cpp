#include "app/settings_store.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "app/grid_scale_entry.h"
#include "files/geo_transform.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr std::array<std::string_view, 3> kKTexts = {"0.00", "0.14", "0.20"};
constexpr std::string_view kComputeShotsKey = "ComputeShots";
constexpr std::string_view kLengthToleranceKey = "LengthTolerance";
constexpr std::string_view kAngleToleranceKey = "AngleTolerance";
constexpr std::string_view kCoordinateSystemKey = "CoordinateSystem";

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// Indexes 0..count-1 are kept; anything else becomes 0.
int IndexOrZero(int value, int count) { return value >= 0 && value < count ? value : 0; }

// A limit of the station check: a positive number, else the default.
double ReadTolerance(const IniFile& ini, std::string_view key, double fallback) {
  const double value = ini.ReadReal(kSettingSection, key, fallback);
  return value > 0 && std::isfinite(value) ? value : fallback;
}

// Like ComputeShots, a limit is written only once it differs from its default or the file has it.
void WriteTolerance(IniFile& ini, std::string_view key, double value, double fallback) {
  if (value != fallback || ini.ReadString(kSettingSection, key)) ini.WriteReal(kSettingSection, key, value);
}

}  // namespace

LocaleNames LocaleNames::FromProcess() {
  return {EnvOrEmpty("LC_ALL"), EnvOrEmpty("LC_MESSAGES"), EnvOrEmpty("LANG")};
}

int LanguageFromLocale(const LocaleNames& locale) {
  const std::string& effective = !locale.lcAll.empty()        ? locale.lcAll
                                 : !locale.lcMessages.empty() ? locale.lcMessages
                                                              : locale.lang;
  return effective.rfind("zh", 0) == 0 ? 0 : 1;
}

int ReadLanguage(const IniFile& ini, int firstStart) {
  return ini.ReadInteger(kFormSection, "Language", firstStart) == 0 ? 0 : 1;
}

void WriteLanguage(IniFile& ini, int language) {
  ini.WriteInteger(kFormSection, "Language", language == 0 ? 0 : 1);
}

FormPositions ReadFormPositions(const IniFile& ini) {
  FormPositions positions;
  positions.port = ini.ReadInteger(kFormSection, "Port", positions.port);
  positions.baudrate = ini.ReadInteger(kFormSection, "Baudrate", positions.baudrate);
  positions.portName = ini.ReadString(kFormSection, "PortName").value_or(std::string());
  return positions;
}

void WriteFormPositions(IniFile& ini, const FormPositions& positions) {
  ini.WriteInteger(kFormSection, "Port", positions.port);
  ini.WriteInteger(kFormSection, "Baudrate", positions.baudrate);
  // A file that never had a name keeps its old layout.
  if (!positions.portName.empty() || ini.ReadString(kFormSection, "PortName"))
    ini.WriteString(kFormSection, "PortName", positions.portName);
}

FormGeometry ReadFormGeometry(const IniFile& ini) {
  FormGeometry g;
  g.left = ini.ReadInteger(kFormSection, "Left", 0);
  g.top = ini.ReadInteger(kFormSection, "Top", 0);
  g.width = ini.ReadInteger(kFormSection, "Width", 0);
  g.height = ini.ReadInteger(kFormSection, "Height", 0);
  return g;
}

void WriteFormGeometry(IniFile& ini, const FormGeometry& geometry) {
  ini.WriteInteger(kFormSection, "Left", geometry.left);
  ini.WriteInteger(kFormSection, "Top", geometry.top);
  ini.WriteInteger(kFormSection, "Width", geometry.width);
  ini.WriteInteger(kFormSection, "Height", geometry.height);
}

std::string_view KOptionText(int index) {
  return kKTexts[static_cast<std::size_t>(IndexOrZero(index, 3))];
}

int KOptionIndex(std::string_view text) {
  for (std::size_t i = 0; i < kKTexts.size(); ++i) {
    if (kKTexts[i] == text) return static_cast<int>(i);
  }
  return 0;
}

std::string GridScaleText(double value) { return KeptGridScaleText(value).value_or("1.00"); }

std::optional<std::string> RefusedGridScale(const IniFile& ini) {
  const std::optional<std::string> text = ini.ReadString(kSettingSection, "GridScale");
  double value = 0;
  if (!text || !TryParseNumber(*text, value) || !(value >= 0.9 && value <= 1.1)) return std::nullopt;
  if (KeptGridScaleText(value)) return std::nullopt;
  return text;
}

Settings LoadSettings(const IniFile& ini) {
  Settings settings;
  settings.AngleUnit = IndexOrZero(ini.ReadInteger(kSettingSection, "AngleUnit", 0), 3);
  settings.DistanceUnit = IndexOrZero(ini.ReadInteger(kSettingSection, "LengthUnit", 0), 3);
  settings.KOption = std::string(KOptionText(ini.ReadInteger(kSettingSection, "KOption", 0)));
  settings.GridScale = GridScaleText(ini.ReadReal(kSettingSection, "GridScale", 0.0));
  settings.CoordOrder = IndexOrZero(ini.ReadInteger(kSettingSection, "CoordOrder", 0), 2);
  settings.ComputeShots = ini.ReadInteger(kSettingSection, kComputeShotsKey, 0) == 1;
  settings.LengthTolerance = ReadTolerance(ini, kLengthToleranceKey, Settings{}.LengthTolerance);
  settings.AngleTolerance = ReadTolerance(ini, kAngleToleranceKey, Settings{}.AngleTolerance);
  const std::string crs = ini.ReadString(kSettingSection, kCoordinateSystemKey).value_or(std::string());
  if (IsEpsgCode(crs)) settings.Crs = crs;
  return settings;
}

void SaveSettings(IniFile& ini, const Settings& settings) {
  double scale = 1.0;
  if (!TryParseNumber(settings.GridScale, scale)) scale = 1.0;
  ini.WriteInteger(kSettingSection, "AngleUnit", settings.AngleUnit);
  ini.WriteInteger(kSettingSection, "LengthUnit", settings.DistanceUnit);
  ini.WriteInteger(kSettingSection, "KOption", KOptionIndex(settings.KOption));
  ini.WriteReal(kSettingSection, "GridScale", scale);
  ini.WriteInteger(kSettingSection, "CoordOrder", settings.CoordOrder);
  // Files of users who never chose it keep their five keys.
  if (settings.ComputeShots || ini.ReadString(kSettingSection, kComputeShotsKey))
    ini.WriteInteger(kSettingSection, kComputeShotsKey, settings.ComputeShots ? 1 : 0);
  WriteTolerance(ini, kLengthToleranceKey, settings.LengthTolerance, Settings{}.LengthTolerance);
  WriteTolerance(ini, kAngleToleranceKey, settings.AngleTolerance, Settings{}.AngleTolerance);
  if (!settings.Crs.empty() || ini.ReadString(kSettingSection, kCoordinateSystemKey))
    ini.WriteString(kSettingSection, kCoordinateSystemKey, settings.Crs);
}

}  // namespace theolink
