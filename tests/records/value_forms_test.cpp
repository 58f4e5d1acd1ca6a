#include "records/value_forms.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace theolink {
namespace {

TEST(AngleSecondsForm, RoundsToWholeSecondsHalfAwayFromZero) {
  EXPECT_EQ(FormatAngle(1.0, AngleSeconds), "3600");
  EXPECT_EQ(FormatAngle(0.000138, AngleSeconds), "0");
  EXPECT_EQ(FormatAngle(0.00014, AngleSeconds), "1");
  EXPECT_EQ(FormatAngle(-1.0, AngleSeconds), "-3600");
  EXPECT_EQ(FormatAngle(90.0, AngleSeconds), "324000");
  EXPECT_EQ(FormatAngle(-0.000138, AngleSeconds), "0");  // never "-0"
  EXPECT_EQ(FormatAngle(-0.00014, AngleSeconds), "-1");
  EXPECT_EQ(FormatAngle(0.6 / 3600.0, AngleSeconds), "1");
  EXPECT_EQ(FormatAngle(-1.6 / 3600.0, AngleSeconds), "-2");
}

TEST(AngleSecondsForm, ReadsSecondsAsDegrees) {
  EXPECT_DOUBLE_EQ(ParseAngle("3600", AngleSeconds), 1.0);
  EXPECT_DOUBLE_EQ(ParseAngle("-324000", AngleSeconds), -90.0);
  EXPECT_DOUBLE_EQ(ParseAngle("1.8", AngleSeconds), 0.0005);
  // Whole seconds survive the trip through degrees unchanged.
  for (long long s : {0LL, 1LL, 59LL, 1295999LL, -648000LL, 123456789LL})
    EXPECT_EQ(FormatAngle(ParseAngle(std::to_string(s), AngleSeconds), AngleSeconds), std::to_string(s));
}

TEST(DmsForm, WritesDegreesMinutesSecondsWithCarry) {
  EXPECT_EQ(FormatAngle(0.0, AngleDms), "0.0000");
  EXPECT_EQ(FormatAngle(123.456789, AngleDms), "123.2724");
  EXPECT_EQ(FormatAngle(-0.5, AngleDms), "-0.3000");
  EXPECT_EQ(FormatAngle(359.99999, AngleDms), "360.0000");
  EXPECT_EQ(FormatAngle(10.999999, AngleDms), "11.0000");
  EXPECT_EQ(FormatAngle(90.0, AngleDms), "90.0000");
  EXPECT_EQ(FormatAngle(1.0 / 3600.0, AngleDms), "0.0001");
  EXPECT_EQ(FormatAngle(1234.0 + 5.0 / 60 + 9.0 / 3600, AngleDms), "1234.0509");
}

TEST(DmsForm, ReadsEveryWrittenShape) {
  EXPECT_NEAR(ParseAngle("123.2724", AngleDms), 123.0 + 27.0 / 60 + 24.0 / 3600, 1e-12);
  EXPECT_NEAR(ParseAngle("123.27245", AngleDms), 123.0 + 27.0 / 60 + 24.5 / 3600, 1e-12);
  EXPECT_NEAR(ParseAngle("123.272456", AngleDms), 123.0 + 27.0 / 60 + 24.56 / 3600, 1e-12);
  EXPECT_NEAR(ParseAngle("123.5", AngleDms), 123.0 + 50.0 / 60, 1e-12);
  EXPECT_NEAR(ParseAngle("10.30", AngleDms), 10.5, 1e-12);
  EXPECT_NEAR(ParseAngle("-0.3000", AngleDms), -0.5, 1e-12);
  EXPECT_NEAR(ParseAngle("+12.3000", AngleDms), 12.5, 1e-12);
  EXPECT_DOUBLE_EQ(ParseAngle("45", AngleDms), 45.0);
  EXPECT_DOUBLE_EQ(ParseAngle("-12", AngleDms), -12.0);
  EXPECT_DOUBLE_EQ(ParseAngle("0.0000", AngleDms), 0.0);
  // Text written in this form reads back to the same text.
  for (const char* text : {"0.0000", "359.5959", "-45.3030", "1.0001"})
    EXPECT_EQ(FormatAngle(ParseAngle(text, AngleDms), AngleDms), text);
}

TEST(DmsForm, RefusesTextThatIsNotAnAngle) {
  for (const char* text : {"", "-", ".", "abc", "12.3x00", "1,3000", "x.3000", "1.-300", "1.3000 ", "+-1.3000", "-+1.3000"})
    EXPECT_THROW(ParseAngle(text, AngleDms), ConversionError) << '"' << text << '"';
}

TEST(GonAndMilForms, ConvertBothWays) {
  EXPECT_EQ(FormatAngle(90.0, AngleGon), "100.0000");
  EXPECT_EQ(FormatAngle(90.0, AngleMil), "1600.0000");
  EXPECT_EQ(FormatAngle(-45.0, AngleGon), "-50.0000");
  EXPECT_NEAR(ParseAngle("100.0000", AngleGon), 90.0, 1e-12);
  EXPECT_NEAR(ParseAngle("1600", AngleMil), 90.0, 1e-12);
}

TEST(DistanceForms, ConvertBothWays) {
  EXPECT_EQ(FormatDistance(1.5, DistanceMetre), "1.5000");
  EXPECT_EQ(FormatDistance(25.123, DistanceMetre), "25.1230");
  EXPECT_EQ(FormatDistance(-0.00004, DistanceMetre), "-0.0000");
  EXPECT_EQ(FormatDistance(1.0, DistanceUsFoot), "3.2808");
  EXPECT_EQ(FormatDistance(100.0, DistanceIntFoot), "328.0840");
  EXPECT_NEAR(ParseDistance("3.2808333333333", DistanceUsFoot), 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(ParseDistance("1", DistanceIntFoot), 0.3048);
  EXPECT_DOUBLE_EQ(ParseDistance("12.3456", DistanceMetre), 12.3456);
  EXPECT_THROW(ParseDistance("1.2.3", DistanceMetre), ConversionError);
}

TEST(FormCodes, OutsideTheTablesFallBackToDmsAndMetre) {
  for (int code : {0, 5, -1, 99}) {
    EXPECT_EQ(FormatAngle(123.456789, code), "123.2724");
    EXPECT_NEAR(ParseAngle("123.5", code), 123.0 + 50.0 / 60, 1e-12);
    EXPECT_EQ(FormatDistance(1.5, code), "1.5000");
    EXPECT_DOUBLE_EQ(ParseDistance("1.5", code), 1.5);
  }
}

TEST(ValueFormatting, NonFiniteAndHugeValuesGiveText) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (int form : {AngleDms, AngleGon, AngleMil, AngleSeconds}) {
    EXPECT_EQ(FormatAngle(nan, form), "nan");
    EXPECT_EQ(FormatAngle(inf, form), "inf");
    EXPECT_EQ(FormatAngle(-inf, form), "-inf");
  }
  for (int form : {DistanceMetre, DistanceUsFoot, DistanceIntFoot}) {
    EXPECT_EQ(FormatDistance(nan, form), "nan");
    EXPECT_EQ(FormatDistance(-inf, form), "-inf");
  }
  // 1e300 m: every digit of the value, then four decimals.
  const std::string metres = FormatDistance(1e300, DistanceMetre);
  ASSERT_EQ(metres.size(), 301u + 5u);
  EXPECT_EQ(metres.substr(0, 4), "1000");
  EXPECT_EQ(metres.substr(metres.size() - 5), ".0000");
  EXPECT_DOUBLE_EQ(ParseDistance(metres, DistanceMetre), 1e300);

  const std::string seconds = FormatAngle(-1e300, AngleSeconds);
  ASSERT_EQ(seconds.size(), 1u + 304u);  // 3.6e303 seconds
  EXPECT_EQ(seconds.substr(0, 3), "-36");
  EXPECT_EQ(seconds.find_first_not_of("0123456789", 1), std::string::npos);

  const std::string dms = FormatAngle(1e300, AngleDms);
  EXPECT_EQ(dms.substr(0, 3), "100");
  EXPECT_EQ(dms.size(), 301u + 5u);
  EXPECT_EQ(dms.substr(dms.size() - 5, 1), ".");
  EXPECT_EQ(FormatAngle(std::numeric_limits<double>::max(), AngleSeconds).size(), 312u);
  EXPECT_EQ(FormatRounded(1e19L), "10000000000000000000");
  EXPECT_EQ(FormatRounded(-2.5L), "-3");
  EXPECT_EQ(FormatFixed4(std::numeric_limits<long double>::max()).size(), 4933u + 5u);
}

TEST(ValueFormatting, ReportsDropTheSignOfAValueThatRoundsToZero) {
  struct Row { std::string in, out; };
  for (const Row& r : {Row{FormatDistance(-0.00004, DistanceMetre), "0.0000"}, Row{FormatAngle(-1e-6, AngleDms), "0.0000"},
                       Row{FormatAngle(-1e-7, AngleSeconds), "0"}, Row{"-0.0001", "-0.0001"}, Row{"-10.0000", "-10.0000"},
                       Row{"-inf", "-inf"}, Row{"-", "-"}, Row{"", ""}}) {
    EXPECT_EQ(WithoutNegativeZero(r.in), r.out) << r.in;
  }
}

TEST(NumberGrammar, AcceptsOnlyPlainDecimalNumbers) {
  double v = -1;
  for (const char* text : {"", "1.2.3", "inf", "-inf", "nan", "NAN", "0x10", "0x1p3", "1,5", " 1", "1 ", "+", "-",
                           ".", "1e", "1e+", "e5", "--1", "1..", "1e5.0", "1e400", "-1e400", "١"}) {
    EXPECT_FALSE(TryParseNumber(text, v)) << '"' << text << '"';
    EXPECT_THROW(ParseNumber(text), ConversionError) << '"' << text << '"';
  }
  EXPECT_EQ(v, -1);  // untouched by refused text
  const std::pair<const char*, double> good[] = {{"1.", 1.0},    {".5", 0.5},    {"-0.5", -0.5},  {"+2", 2.0},
                                                 {"1e3", 1e3},   {"1E-3", 1e-3}, {"007", 7.0},    {"1e-400", 0.0},
                                                 {"123456.7890", 123456.789}};
  for (const auto& [text, expected] : good) {
    ASSERT_TRUE(TryParseNumber(text, v)) << text;
    EXPECT_DOUBLE_EQ(v, expected) << text;
  }
}

// Short decimals take a quicker path than long ones; both must give the nearest double.
TEST(NumberGrammar, ReadsDecimalsToTheNearestDouble) {
  for (const std::string_view text : {"0.1", "-0.3", "12345678901.2345", "918507815540.4277", "-975786596794.1465"}) {
    double expected = 0, v = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_TRUE(TryParseNumber(text, v)) << text;
    EXPECT_EQ(v, expected) << text;
  }
}

TEST(NumberGrammar, ErrorNamesTheText) {
  try {
    ParseNumber("1.2.3");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'1.2.3' is not a valid floating point value");
  }
}

// A process locale with a decimal comma must change neither writing nor reading.
TEST(NumberGrammar, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  EXPECT_EQ(FormatFixed4(1.5L), "1.5000");
  EXPECT_EQ(FormatDistance(1.0, DistanceUsFoot), "3.2808");
  EXPECT_EQ(FormatAngle(90.0, AngleGon), "100.0000");
  EXPECT_EQ(FormatAngle(123.456789, AngleDms), "123.2724");
  double v = 0;
  EXPECT_TRUE(TryParseNumber("1.5", v));
  EXPECT_EQ(v, 1.5);
  EXPECT_FALSE(TryParseNumber("1,5", v));
  EXPECT_NEAR(ParseAngle("123.2724", AngleDms), 123.0 + 27.0 / 60 + 24.0 / 3600, 1e-12);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace theolink
