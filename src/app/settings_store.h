#pragma once
// The keys of the configuration file and their defaults and range rules: section "Form"
// (language, port and baud positions) and section "Setting" (the current settings).
#include <optional>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "records/settings.h"

namespace theolink {

inline constexpr std::string_view kFormSection = "Form";
inline constexpr std::string_view kSettingSection = "Setting";

// The locale variables that decide the first start's language.
struct LocaleNames {
  std::string lcAll, lcMessages, lang;
  static LocaleNames FromProcess();
};

// 0 (Chinese) when the effective locale (LC_ALL, else LC_MESSAGES, else LANG) starts with
// "zh"; 1 (English) otherwise.
int LanguageFromLocale(const LocaleNames& locale);

// Language of section Form: firstStart when the key is absent or not an integer; any value
// other than 0 and 1 reads as 1.
int ReadLanguage(const IniFile& ini, int firstStart);
void WriteLanguage(IniFile& ini, int language);

// The port box and baud box positions; read as written, the boxes judge the range.
struct FormPositions {
  int port = 0;
  int baudrate = 13;  // 115200
  // The port as chosen or typed (a device path such as /dev/pts/4 has no index); empty
  // when never stored.
  std::string portName;
};
FormPositions ReadFormPositions(const IniFile& ini);
// Writes Port, then Baudrate, then PortName (when set, or to empty a stored one).
void WriteFormPositions(IniFile& ini, const FormPositions& positions);

// Where the main window was and how big, in screen pixels; unset when never stored.
struct FormGeometry {
  int left = 0, top = 0, width = 0, height = 0;
  bool Stored() const { return width > 0 && height > 0; }
};
FormGeometry ReadFormGeometry(const IniFile& ini);
// Writes Left, Top, Width, Height.
void WriteFormGeometry(IniFile& ini, const FormGeometry& geometry);

// The current settings from section Setting with the range rules applied; a file without
// the section gives the defaults (DMS, metre, K 0.00, grid scale 1.00, NEZ, shots not
// computed, station check limits 0.02 m and 20"). ComputeShots is on only for the value 1;
// LengthTolerance (metres) and AngleTolerance (arc seconds) take any positive number;
// CoordinateSystem is kept when it reads "EPSG:NNNN" and is no system otherwise.
Settings LoadSettings(const IniFile& ini);
// Writes AngleUnit, LengthUnit, KOption (as its index), GridScale (as a real number from
// its text) and CoordOrder, in that order; then ComputeShots (1 or 0), LengthTolerance and
// AngleTolerance and CoordinateSystem, each when it is not its default or the file
// already has the key.
void SaveSettings(IniFile& ini, const Settings& settings);

// "0.00", "0.14", "0.20" for indexes 0..2; "0.00" for any other index.
std::string_view KOptionText(int index);
// Index of a K text; 0 for a text that is not one of the three.
int KOptionIndex(std::string_view text);
// The grid scale rule: a value from 0.9 to 1.1 inclusive with at most six decimals is
// kept, anything else is 1.0; the result as text with two to six decimals, whatever the
// locale.
std::string GridScaleText(double value);
// The GridScale text of section Setting when it lies in the range but has more than six
// decimals: the file's value LoadSettings refused (and read as 1.00), for a word to the user.
std::optional<std::string> RefusedGridScale(const IniFile& ini);

}  // namespace theolink
