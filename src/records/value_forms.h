#pragma once
// Conversion of single angles and lengths between numbers and text. Angles are decimal
// degrees, lengths metres. Text is always read and written with '.' as the decimal mark,
// whatever the process locale.
#include <stdexcept>
#include <string>
#include <string_view>

namespace theolink {

// Angle form codes; any other code behaves as AngleDms.
inline constexpr int AngleDms = 1;
inline constexpr int AngleGon = 2;
inline constexpr int AngleMil = 3;
inline constexpr int AngleSeconds = 4;

// Distance form codes; any other code behaves as DistanceMetre.
inline constexpr int DistanceMetre = 1;
inline constexpr int DistanceUsFoot = 2;
inline constexpr int DistanceIntFoot = 3;

// Raised when a text that must be a number is not one; what() is the diagnostic text.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Strict number reading: optional sign, digits with an optional '.' fraction, optional
// exponent. No blanks, no comma decimals, no inf/nan/hex. False when not a finite number.
bool TryParseNumber(std::string_view text, double& value);
// TryParseNumber that raises ConversionError.
double ParseNumber(std::string_view text);

// "%.4f" of a value; non-finite values give "nan", "inf" or "-inf".
std::string FormatFixed4(long double value);
// Rounds half away from zero and writes the whole number ("%d"); any magnitude is safe.
std::string FormatRounded(long double value);

std::string FormatAngle(double degrees, int form);
double ParseAngle(std::string_view text, int form);  // raises ConversionError
std::string FormatDistance(double metres, int form);
double ParseDistance(std::string_view text, int form);  // raises ConversionError
// The text without its minus sign when every digit in it is 0: "-0.0000" gives "0.0000".
// For reports of small differences; the file formats keep their "%.4f" as it is.
std::string WithoutNegativeZero(std::string text);

// The same texts appended to out, for writers that build a whole line in one buffer.
void AppendFixed4(std::string& out, long double value);
void AppendAngle(std::string& out, double degrees, int form);
void AppendDistance(std::string& out, double metres, int form);

}  // namespace theolink
