// The configuration file reader and writer on arbitrary bytes: reading never fails, the
// range rules always hold, and a value written is read back after a round trip through the
// file text while the other lines survive.
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/help_sections.h"
#include "app/ini_file.h"
#include "app/settings_store.h"
#include "fuzz_seeds.h"

using namespace theolink;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini = IniFile::Parse(bytes);

  const Settings settings = LoadSettings(ini);
  Require(settings.AngleUnit >= 0 && settings.AngleUnit <= 2);
  Require(settings.DistanceUnit >= 0 && settings.DistanceUnit <= 2);
  Require(settings.CoordOrder == 0 || settings.CoordOrder == 1);
  Require(settings.KOption == "0.00" || settings.KOption == "0.14" || settings.KOption == "0.20");
  // Two to six decimals of a number from 0.9 to 1.1 ("0.90" .. "1.000123").
  Require(settings.GridScale.size() >= 4 && settings.GridScale.size() <= 8);
  Require(GridScaleValue(settings) >= 0.9 && GridScaleValue(settings) <= 1.1);
  // The station check's limits are positive numbers, never zero, NaN or infinite.
  Require(settings.LengthTolerance > 0 && std::isfinite(settings.LengthTolerance));
  Require(settings.AngleTolerance > 0 && std::isfinite(settings.AngleTolerance));
  const int language = ReadLanguage(ini, 0);
  Require(language == 0 || language == 1);
  (void)ReadFormPositions(ini);

  const std::string before = ini.Serialize();
  const IniFile reparsed = IniFile::Parse(before);
  Require(reparsed.Serialize() == before);

  // Use the first bytes as a key name so odd names are written too.
  const std::string key(bytes.substr(0, bytes.size() < 6 ? bytes.size() : 6));
  ini.WriteInteger("Setting", "AngleUnit", 2);
  ini.WriteString("Fuzz", key, "v");
  SaveSettings(ini, settings);
  WriteLanguage(ini, 1);
  const IniFile after = IniFile::Parse(ini.Serialize());
  const Settings back = LoadSettings(after);
  Require(back.AngleUnit == settings.AngleUnit);
  Require(back.KOption == settings.KOption);
  Require(back.GridScale == settings.GridScale);
  Require(back.CoordOrder == settings.CoordOrder);
  Require(ReadLanguage(after, 0) == 1);

  // The help splitter shares the reader's taste for odd text.
  (void)SplitHelpSections(bytes);
  (void)PickHelpText(bytes, size % 2 == 0 ? 0 : 1);
  return 0;
}

std::vector<std::string> FuzzSeeds() {
  return {
      "",
      "[Form]\r\nLanguage=0\r\nPort=2\r\nBaudrate=13\r\n\r\n[Setting]\r\nAngleUnit=1\r\n"
      "LengthUnit=2\r\nKOption=1\r\nGridScale=0.95\r\nCoordOrder=1\r\n",
      "Port=1\n[setting]\nangleunit = 7\nGRIDSCALE=1.1000001\n[Setting]\nKOption=x\n",
      "; comment\n# other\n[Form\n[]\n=1\n[Form]]\nLanguage=-5\n",
      std::string("[Setting]\nGridScale=1\0.0\n\xFF\xFE[\x80]\n", 30),
      "zh\r\n========\r\nen\r\n========",
  };
}
