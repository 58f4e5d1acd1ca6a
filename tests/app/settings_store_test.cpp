#include "app/settings_store.h"

#include <gtest/gtest.h>

#include "app/language_choice.h"

#include <clocale>
#include <string>

namespace theolink {
namespace {

Settings FromText(const std::string& text) { return LoadSettings(IniFile::Parse(text)); }

TEST(SettingsLoad, NoSettingSectionGivesTheDefaults) {
  const Settings settings = FromText("[Form]\nLanguage=1\n");
  EXPECT_EQ(settings.AngleUnit, 0);
  EXPECT_EQ(settings.DistanceUnit, 0);
  EXPECT_EQ(settings.KOption, "0.00");
  EXPECT_EQ(settings.GridScale, "1.00");
  EXPECT_EQ(settings.CoordOrder, 0);
  EXPECT_EQ(AngleFormCode(settings), 1);
  EXPECT_EQ(DistanceFormCode(settings), 1);
}

TEST(SettingsLoad, ValidValuesAreTaken) {
  const Settings settings =
      FromText("[setting]\nAngleUnit=2\nLengthUnit=1\nKOption=2\nGridScale=0.95\nCoordOrder=1\n");
  EXPECT_EQ(settings.AngleUnit, 2);
  EXPECT_EQ(settings.DistanceUnit, 1);
  EXPECT_EQ(settings.KOption, "0.20");
  EXPECT_EQ(settings.GridScale, "0.95");
  EXPECT_EQ(settings.CoordOrder, 1);
  EXPECT_EQ(AngleFormCode(settings), 3);
  EXPECT_EQ(DistanceFormCode(settings), 2);
}

TEST(SettingsLoad, OutOfRangeIndexesReadAsZero) {
  const Settings settings =
      FromText("[Setting]\nAngleUnit=3\nLengthUnit=-1\nKOption=5\nCoordOrder=2\n");
  EXPECT_EQ(settings.AngleUnit, 0);
  EXPECT_EQ(settings.DistanceUnit, 0);
  EXPECT_EQ(settings.KOption, "0.00");
  EXPECT_EQ(settings.CoordOrder, 0);
  EXPECT_EQ(FromText("[Setting]\nKOption=1\n").KOption, "0.14");
  EXPECT_EQ(FromText("[Setting]\nAngleUnit=1x\n").AngleUnit, 0);
}

TEST(SettingsLoad, GridScaleRangeIsInclusive) {
  EXPECT_EQ(FromText("[Setting]\nGridScale=0.9\n").GridScale, "0.90");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1.1\n").GridScale, "1.10");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1.1000001\n").GridScale, "1.00");
  EXPECT_EQ(FromText("[Setting]\nGridScale=0.8999\n").GridScale, "1.00");
  EXPECT_EQ(FromText("[Setting]\nGridScale=0\n").GridScale, "1.00");
  EXPECT_EQ(FromText("[Setting]\nGridScale=abc\n").GridScale, "1.00");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1,05\n").GridScale, "1.00");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1.05\n").GridScale, "1.05");
  // Up to six decimals are kept as written; more are refused (and named), never rounded.
  EXPECT_EQ(FromText("[Setting]\nGridScale=0.995\n").GridScale, "0.995");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1.0049\n").GridScale, "1.0049");
  EXPECT_EQ(FromText("[Setting]\nGridScale=1.000123\n").GridScale, "1.000123");
  EXPECT_EQ(FromText("[Setting]\nGridScale=0.99999999\n").GridScale, "1.00");
  EXPECT_EQ(RefusedGridScale(IniFile::Parse("[Setting]\nGridScale=0.99999999\n")), "0.99999999");
  for (const char* kept : {"1.000123", "1.1000001", "abc", ""})
    EXPECT_EQ(RefusedGridScale(IniFile::Parse(std::string("[Setting]\nGridScale=") + kept + "\n")), std::nullopt);
}

TEST(SettingsLoad, GridScaleTextIgnoresTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  const std::string text = GridScaleText(0.95);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(text, "0.95");
}

TEST(SettingsSave, WritesTheFiveKeysInOrderWithTheScaleAsARealNumber) {
  IniFile ini = IniFile::Parse("[Form]\nLanguage=1\n");
  Settings settings;
  settings.AngleUnit = 1;
  settings.DistanceUnit = 2;
  settings.KOption = "0.14";
  settings.GridScale = "1.00";
  settings.CoordOrder = 1;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.Serialize(),
            "[Form]\nLanguage=1\n\n[Setting]\nAngleUnit=1\nLengthUnit=2\nKOption=1\n"
            "GridScale=1\nCoordOrder=1\n");
  settings.GridScale = "0.95";
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "GridScale"), "0.95");
  EXPECT_EQ(LoadSettings(ini).GridScale, "0.95");
  settings.GridScale = "0.9996";
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "GridScale"), "0.9996");
  EXPECT_EQ(LoadSettings(ini).GridScale, "0.9996");
}

TEST(SettingsSave, RoundTripsEveryCombination) {
  for (int angle = 0; angle < 3; ++angle) {
    for (int k = 0; k < 3; ++k) {
      Settings settings;
      settings.AngleUnit = angle;
      settings.DistanceUnit = 2 - angle;
      settings.KOption = std::string(KOptionText(k));
      settings.GridScale = k == 0 ? "0.90" : k == 1 ? "1.10" : "1.03";
      settings.CoordOrder = k % 2;
      IniFile ini;
      SaveSettings(ini, settings);
      const Settings back = LoadSettings(IniFile::Parse(ini.Serialize()));
      EXPECT_EQ(back.AngleUnit, settings.AngleUnit);
      EXPECT_EQ(back.DistanceUnit, settings.DistanceUnit);
      EXPECT_EQ(back.KOption, settings.KOption);
      EXPECT_EQ(back.GridScale, settings.GridScale);
      EXPECT_EQ(back.CoordOrder, settings.CoordOrder);
    }
  }
}

TEST(SettingsComputeShots, OffUnlessOneAndWrittenOnlyOnceChosen) {
  EXPECT_FALSE(FromText("[Setting]\nAngleUnit=1\nCoordOrder=1\n").ComputeShots);  // files written before
  EXPECT_TRUE(FromText("[Setting]\ncomputeshots=1\n").ComputeShots);
  EXPECT_FALSE(FromText("[Setting]\nComputeShots=2\n").ComputeShots);
  EXPECT_FALSE(FromText("[Setting]\nComputeShots=on\n").ComputeShots);
  IniFile ini;
  Settings settings;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "ComputeShots"), std::nullopt);
  settings.ComputeShots = true;
  SaveSettings(ini, settings);
  EXPECT_TRUE(LoadSettings(IniFile::Parse(ini.Serialize())).ComputeShots);
  settings.ComputeShots = false;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "ComputeShots"), "0");
  EXPECT_FALSE(LoadSettings(IniFile::Parse(ini.Serialize())).ComputeShots);
}

TEST(SettingsStationCheck, LimitsArePositiveNumbersAndWrittenOnlyOnceChanged) {
  const Settings defaults = FromText("[Setting]\nAngleUnit=1\n");
  EXPECT_EQ(defaults.LengthTolerance, 0.02);
  EXPECT_EQ(defaults.AngleTolerance, 20);
  const Settings set = FromText("[Setting]\nlengthtolerance=0.005\nAngleTolerance=7.5\n");
  EXPECT_EQ(set.LengthTolerance, 0.005);
  EXPECT_EQ(set.AngleTolerance, 7.5);
  for (const char* bad : {"0", "-0.01", "abc", "1e999", ""})
    EXPECT_EQ(FromText(std::string("[Setting]\nLengthTolerance=") + bad + "\n").LengthTolerance, 0.02) << bad;
  IniFile ini;
  Settings settings;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "LengthTolerance"), std::nullopt);
  EXPECT_EQ(ini.ReadString("Setting", "AngleTolerance"), std::nullopt);
  settings.AngleTolerance = 12;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "LengthTolerance"), std::nullopt);
  EXPECT_EQ(LoadSettings(IniFile::Parse(ini.Serialize())).AngleTolerance, 12);
}

TEST(SettingsCoordinateSystem, AnEpsgCodeIsKeptAnythingElseIsNoneAndTheKeyIsWrittenOnlyOnceChosen) {
  EXPECT_EQ(FromText("[Setting]\nCoordinateSystem=EPSG:4547\n").Crs, "EPSG:4547");
  for (const char* bad : {"epsg:4547", "EPSG:", "EPSG:45x7", "+proj=utm +zone=50", "EPSG:1234567", ""})
    EXPECT_EQ(FromText(std::string("[Setting]\nCoordinateSystem=") + bad + "\n").Crs, "") << bad;
  IniFile ini;
  Settings settings;
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "CoordinateSystem"), std::nullopt);
  settings.Crs = "EPSG:32650";
  SaveSettings(ini, settings);
  EXPECT_EQ(LoadSettings(IniFile::Parse(ini.Serialize())).Crs, "EPSG:32650");
  settings.Crs.clear();
  SaveSettings(ini, settings);
  EXPECT_EQ(ini.ReadString("Setting", "CoordinateSystem"), "");
}

TEST(Language, ClampsAnyOtherValueToEnglish) {
  EXPECT_EQ(ReadLanguage(IniFile::Parse("[Form]\nLanguage=0\n"), 1), 0);
  EXPECT_EQ(ReadLanguage(IniFile::Parse("[Form]\nLanguage=1\n"), 0), 1);
  EXPECT_EQ(ReadLanguage(IniFile::Parse("[Form]\nLanguage=7\n"), 0), 1);
  EXPECT_EQ(ReadLanguage(IniFile::Parse("[Form]\nLanguage=-1\n"), 0), 1);
  // Missing or unreadable: the first-start choice.
  EXPECT_EQ(ReadLanguage(IniFile(), 0), 0);
  EXPECT_EQ(ReadLanguage(IniFile::Parse("[Form]\nLanguage=zh\n"), 0), 0);
  EXPECT_EQ(ReadLanguage(IniFile(), 1), 1);
}

TEST(Language, FirstStartFollowsTheLocale) {
  EXPECT_EQ(LanguageFromLocale({"", "", "zh_CN.UTF-8"}), 0);
  EXPECT_EQ(LanguageFromLocale({"", "", "zh_TW.Big5"}), 0);
  EXPECT_EQ(LanguageFromLocale({"", "", "en_US.UTF-8"}), 1);
  EXPECT_EQ(LanguageFromLocale({"", "", ""}), 1);
  EXPECT_EQ(LanguageFromLocale({"C", "", "zh_CN.UTF-8"}), 1);
  EXPECT_EQ(LanguageFromLocale({"", "zh_CN.GBK", "en_GB.UTF-8"}), 0);
  EXPECT_EQ(LanguageFromLocale({"zh_SG", "de_DE", "en_GB"}), 0);
}

TEST(Language, CommandLineThenFileThenLocale) {
  const IniFile none;
  const IniFile chinese = IniFile::Parse("[Form]\nLanguage=0\n");
  const IniFile english = IniFile::Parse("[Form]\nLanguage=1\n");
  const LocaleNames zh{"", "", "zh_CN.UTF-8"}, en{"", "", "en_US.UTF-8"};
  struct Row {
    const char* option;
    const IniFile& file;
    LocaleNames locale;
    int expected;
  } const rows[] = {
      {"en", chinese, zh, 1}, {"zh", english, en, 0},     // the option wins
      {nullptr, chinese, en, 0}, {nullptr, english, zh, 1},  // then the file
      {nullptr, none, zh, 0}, {nullptr, none, en, 1},        // then the locale
  };
  for (const Row& row : rows) {
    const std::optional<int> requested = row.option ? ParseLanguageName(row.option) : std::nullopt;
    EXPECT_EQ(ChooseLanguage(requested, row.file, row.locale), row.expected)
        << (row.option ? row.option : "-") << " " << row.locale.lang;
  }
  EXPECT_FALSE(ParseLanguageName("de"));
  EXPECT_FALSE(ParseLanguageName("ZH"));
}

TEST(FormPositions, DefaultsAndWriteOrder) {
  const FormPositions defaults = ReadFormPositions(IniFile());
  EXPECT_EQ(defaults.port, 0);
  EXPECT_EQ(defaults.baudrate, 13);
  IniFile ini = IniFile::Parse("[Form]\nLanguage=1\n");
  WriteFormPositions(ini, {2, 7, ""});
  EXPECT_EQ(ini.Serialize(), "[Form]\nLanguage=1\nPort=2\nBaudrate=7\n");
  const FormPositions back = ReadFormPositions(ini);
  EXPECT_EQ(back.port, 2);
  EXPECT_EQ(back.baudrate, 7);
  // The window's place and size go beside them; a file without them reads as unset.
  EXPECT_FALSE(ReadFormGeometry(ini).Stored());
  WriteFormGeometry(ini, {10, 20, 800, 500});
  EXPECT_EQ(ini.Serialize(), "[Form]\nLanguage=1\nPort=2\nBaudrate=7\nLeft=10\nTop=20\nWidth=800\nHeight=500\n");
  EXPECT_EQ(ReadFormGeometry(ini).height, 500);
}

TEST(KOption, TextAndIndexMapBothWays) {
  EXPECT_EQ(KOptionText(0), "0.00");
  EXPECT_EQ(KOptionText(2), "0.20");
  EXPECT_EQ(KOptionText(9), "0.00");
  EXPECT_EQ(KOptionIndex("0.14"), 1);
  EXPECT_EQ(KOptionIndex("0.3"), 0);
}

}  // namespace
}  // namespace theolink
