#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app_test_dir.h"

namespace theolink {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniRead, SectionAndKeyNamesIgnoreCase) {
  const IniFile ini = IniFile::Parse("[sETTING]\r\nangleunit=2\r\n");
  EXPECT_EQ(ini.ReadInteger("Setting", "AngleUnit", 0), 2);
  EXPECT_EQ(ini.ReadInteger("SETTING", "ANGLEUNIT", 0), 2);
}

TEST(IniRead, MissingSectionOrKeyGivesTheFallback) {
  const IniFile ini = IniFile::Parse("[Form]\nPort=3\n");
  EXPECT_EQ(ini.ReadInteger("Setting", "Port", 9), 9);
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", 13), 13);
  EXPECT_FALSE(ini.ReadString("Form", "Baudrate").has_value());
  EXPECT_EQ(IniFile().ReadReal("Setting", "GridScale", 0.5), 0.5);
}

TEST(IniRead, BlanksAroundNamesAndValuesAreTrimmed) {
  const IniFile ini = IniFile::Parse("  [ Form ]  \n\t Port \t=\t 4 \r\n");
  EXPECT_EQ(ini.ReadInteger("Form", "Port", 0), 4);
  EXPECT_EQ(ini.ReadString("Form", "Port"), "4");
}

TEST(IniRead, FirstOfDuplicateSectionsAndKeysWins) {
  const IniFile ini =
      IniFile::Parse("[Form]\nPort=1\nPort=2\n[Other]\n[form]\nPort=3\nBaudrate=7\n");
  EXPECT_EQ(ini.ReadInteger("Form", "Port", 0), 1);
  // Only the first section of a name is consulted.
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", 13), 13);
}

TEST(IniRead, ByteOrderMarkDoesNotHideTheFirstSectionAndIsWrittenBack) {
  IniFile ini = IniFile::Parse("\xEF\xBB\xBF[Form]\r\nLanguage=0\r\n");
  EXPECT_EQ(ini.ReadInteger("Form", "Language", 1), 0);
  ini.WriteInteger("Form", "Language", 1);
  EXPECT_EQ(ini.Serialize(), "\xEF\xBB\xBF[Form]\r\nLanguage=1\r\n");
}

TEST(IniRead, KeysBeforeAnySectionAreIgnored) {
  const IniFile ini = IniFile::Parse("Port=5\n[Form]\nBaudrate=2\n");
  EXPECT_EQ(ini.ReadInteger("Form", "Port", 0), 0);
  EXPECT_EQ(ini.ReadInteger("", "Port", 0), 0);
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", 0), 2);
}

TEST(IniRead, IntegersMustBeWholeDecimalNumbers) {
  const IniFile ini = IniFile::Parse(
      "[S]\na=12abc\nb=-3\nc=+4\nd=\ne=99999999999\nf=1.0\ng=+\nh=+-1\ni=0x10\nj= 7 \n");
  EXPECT_EQ(ini.ReadInteger("S", "a", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "b", 42), -3);
  EXPECT_EQ(ini.ReadInteger("S", "c", 42), 4);
  EXPECT_EQ(ini.ReadInteger("S", "d", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "e", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "f", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "g", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "h", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "i", 42), 42);
  EXPECT_EQ(ini.ReadInteger("S", "j", 42), 7);
}

TEST(IniRead, RealsUseADotWhateverTheLocale) {
  const IniFile ini = IniFile::Parse("[S]\na=0.95\nb=0,95\nc=1e0\nd=nan\ne=abc\n");
  EXPECT_DOUBLE_EQ(ini.ReadReal("S", "a", 0), 0.95);
  EXPECT_EQ(ini.ReadReal("S", "b", -1), -1);
  EXPECT_EQ(ini.ReadReal("S", "c", -1), 1);
  EXPECT_EQ(ini.ReadReal("S", "d", -1), -1);
  EXPECT_EQ(ini.ReadReal("S", "e", -1), -1);
}

TEST(IniRead, OddContentNeverBreaksTheReader) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 37 + 11) & 0xFF);
  const IniFile junk = IniFile::Parse(garbage + "\n[Form]\nPort=2\n" + garbage);
  EXPECT_EQ(junk.ReadInteger("Form", "Port", 0), 2);

  const IniFile unclosed = IniFile::Parse("[Form\nPort=2\n=5\n[]\n[Form]]\nPort=6\n");
  // "[Form" is no header, "[Form]]" is the section "Form".
  EXPECT_EQ(unclosed.ReadInteger("Form", "Port", 0), 6);

  const IniFile withNul = IniFile::Parse(std::string("[Form]\nPort=3\0\n", 13));
  EXPECT_EQ(withNul.ReadInteger("Form", "Port", 0), 3);
}

TEST(IniRead, TenMegabyteLineIsReadAndKept) {
  const std::string longLine(10 * 1024 * 1024, 'x');
  const std::string text = "[Form]\nPort=1\n" + longLine + "\nBaudrate=5\n";
  IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.ReadInteger("Form", "Baudrate", 0), 5);
  ini.WriteInteger("Form", "Port", 2);
  EXPECT_EQ(ini.Serialize(), "[Form]\nPort=2\n" + longLine + "\nBaudrate=5\n");
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEverythingElse) {
  const std::string text =
      "; user notes\r\n[Form]\r\nlanguage = 0\r\nExtra=keep me\r\n\r\n[Mine]\r\nx=1\r\n";
  IniFile ini = IniFile::Parse(text);
  ini.WriteInteger("FORM", "Language", 1);
  EXPECT_EQ(ini.Serialize(),
            "; user notes\r\n[Form]\r\nlanguage=1\r\nExtra=keep me\r\n\r\n[Mine]\r\nx=1\r\n");
}

TEST(IniWrite, AppendsANewKeyAtTheEndOfItsSection) {
  IniFile ini = IniFile::Parse("[Form]\nLanguage=1\n\n[Setting]\nAngleUnit=1\n");
  ini.WriteInteger("Form", "Port", 3);
  EXPECT_EQ(ini.Serialize(), "[Form]\nLanguage=1\nPort=3\n\n[Setting]\nAngleUnit=1\n");
}

TEST(IniWrite, CreatesAMissingSectionAtTheEnd) {
  IniFile ini;
  ini.WriteInteger("Form", "Language", 0);
  ini.WriteInteger("Setting", "AngleUnit", 2);
  EXPECT_EQ(ini.Serialize(), "[Form]\r\nLanguage=0\r\n\r\n[Setting]\r\nAngleUnit=2\r\n");
  const IniFile back = IniFile::Parse(ini.Serialize());
  EXPECT_EQ(back.ReadInteger("Setting", "AngleUnit", 0), 2);
}

TEST(IniWrite, FileWithoutFinalLineBreakGetsOne) {
  IniFile ini = IniFile::Parse("[Form]\nPort=1");
  ini.WriteInteger("Form", "Baudrate", 13);
  EXPECT_EQ(ini.Serialize(), "[Form]\nPort=1\nBaudrate=13\n");
}

TEST(IniWrite, ValuesCannotBreakTheLineStructure) {
  IniFile ini;
  ini.WriteString("S", "k", "a\r\nb");
  EXPECT_EQ(ini.ReadString("S", "k"), "ab");
  EXPECT_EQ(IniFile::Parse(ini.Serialize()).ReadString("S", "k"), "ab");
}

TEST(IniWrite, RealsInGeneralNotationWithFifteenDigits) {
  EXPECT_EQ(FormatGeneral15(1.0), "1");
  EXPECT_EQ(FormatGeneral15(0.95), "0.95");
  EXPECT_EQ(FormatGeneral15(1.1), "1.1");
  EXPECT_EQ(FormatGeneral15(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral15(0.1 + 0.2), "0.3");
  IniFile ini;
  ini.WriteReal("Setting", "GridScale", 0.9);
  EXPECT_EQ(ini.ReadString("Setting", "GridScale"), "0.9");
}

TEST(IniSave, CreatesTheFileAndLeavesNoTemporaryBehind) {
  TempDir dir;
  IniFile ini;
  ini.WriteInteger("Form", "Port", 1);
  ASSERT_TRUE(ini.Save(dir / "p.INI"));
  EXPECT_EQ(ReadFile(dir / "p.INI"), "[Form]\r\nPort=1\r\n");
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(IniFile::Load(dir / "p.INI").ReadInteger("Form", "Port", 0), 1);
}

TEST(IniSave, ReplacesAnExistingFileWhole) {
  TempDir dir;
  WriteFile(dir / "p.INI", "[Mine]\nkeep=yes\n[Form]\nPort=1\n");
  IniFile ini = IniFile::Load(dir / "p.INI");
  ini.WriteInteger("Form", "Port", 4);
  ASSERT_TRUE(ini.Save(dir / "p.INI"));
  EXPECT_EQ(ReadFile(dir / "p.INI"), "[Mine]\nkeep=yes\n[Form]\nPort=4\n");
}

TEST(IniSave, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
  TempDir dir;
  IniFile ini;
  ini.WriteInteger("Form", "Port", 1);
  EXPECT_FALSE(ini.Save(dir / "missing/p.INI"));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_FALSE(ini.Save(""));
}

TEST(IniLoad, MissingFileOrFolderReadsAsEmpty) {
  TempDir dir;
  EXPECT_EQ(IniFile::Load(dir / "none.INI").Serialize(), "");
  EXPECT_EQ(IniFile::Load(dir.Path()).Serialize(), "");
}

}  // namespace
}  // namespace theolink
