#include "app/help_sections.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "files/text_encoding.h"
#include "app_test_dir.h"

namespace theolink {
namespace {

using test::TempDir;
using test::WriteFile;
using Sections = std::vector<std::string>;

TEST(HelpSplit, ChineseSeparatorEnglish) {
  EXPECT_EQ(SplitHelpSections("\r\n  zh text\r\nline 2\r\n========\r\n\r\nen text\r\n\r\n"),
            (Sections{"zh text\r\nline 2", "en text"}));
}

TEST(HelpSplit, NoSeparatorGivesOneSection) {
  EXPECT_EQ(SplitHelpSections("  only text \r\n"), (Sections{"only text"}));
}

TEST(HelpSplit, TextWithoutSeparatorLosesLeadingEqualsSignsToo) {
  EXPECT_EQ(SplitHelpSections("=== Title\r\ntext\r\n"), (Sections{"Title\r\ntext"}));
  EXPECT_EQ(SplitHelpSections(" = \r\n=text"), (Sections{"text"}));
  EXPECT_EQ(SplitHelpSections("======="), (Sections{""}));
}

TEST(HelpSplit, LeadingSeparatorMakesNoEmptyFirstSection) {
  EXPECT_EQ(SplitHelpSections("========\r\nzh\r\n========\r\nen\r\n"), (Sections{"zh", "en"}));
}

TEST(HelpSplit, LongSeparatorWorksAndLeadingEqualsSignsAreLost) {
  EXPECT_EQ(SplitHelpSections("zh\r\n============\r\nen"), (Sections{"zh", "en"}));
  EXPECT_EQ(SplitHelpSections("zh\r\n========\r\n== en"), (Sections{"zh", "en"}));
  // Fewer than eight are no separator.
  EXPECT_EQ(SplitHelpSections("zh\r\n=======\r\nen"), (Sections{"zh\r\n=======\r\nen"}));
}

TEST(HelpSplit, SeparatorsWithOnlyBlanksBetweenCountAsOne) {
  EXPECT_EQ(SplitHelpSections("zh\r\n========\r\n  \r\n========\r\nen\r\n"),
            (Sections{"zh", "en"}));
}

TEST(HelpSplit, SeparatorInsideALineSplitsThere) {
  EXPECT_EQ(SplitHelpSections("zh ======== en"), (Sections{"zh", "en"}));
}

TEST(HelpSplit, TrailingSeparatorLeavesAnEmptyLastSection) {
  EXPECT_EQ(SplitHelpSections("zh\r\n========\r\n"), (Sections{"zh", ""}));
  EXPECT_EQ(SplitHelpSections(""), (Sections{""}));
  EXPECT_EQ(SplitHelpSections("========"), (Sections{""}));
}

TEST(HelpSplit, ThreeSectionsKeepTheirOrder) {
  EXPECT_EQ(SplitHelpSections("a\n========\nb\n========\nc"), (Sections{"a", "b", "c"}));
}

TEST(HelpPick, ChoosesTheLanguageSection) {
  const Sections sections{"zh", "en"};
  ASSERT_NE(PickHelpSection(sections, 1), nullptr);
  EXPECT_EQ(*PickHelpSection(sections, 0), "zh");
  EXPECT_EQ(*PickHelpSection(sections, 1), "en");
  EXPECT_EQ(PickHelpSection(sections, 2), nullptr);
  EXPECT_EQ(PickHelpSection(sections, -1), nullptr);
}

TEST(HelpText, EachLanguageGetsItsSectionWithLfLineEnds) {
  const std::string text = "zh 1\r\nzh 2\r\n========\r\nen 1\nen 2\n";
  const HelpOutcome zh = PickHelpText(text, 0);
  ASSERT_TRUE(zh.ok);
  EXPECT_EQ(zh.text, "zh 1\nzh 2");
  const HelpOutcome en = PickHelpText(text, 1);
  ASSERT_TRUE(en.ok);
  EXPECT_EQ(en.text, "en 1\nen 2");
  EXPECT_EQ(en.lines, (std::vector<std::string>{"zh 1", "zh 2", "========", "en 1", "en 2"}));
}

TEST(HelpText, MissingOrEmptySectionIsDamaged) {
  EXPECT_TRUE(PickHelpText("only chinese", 0).ok);
  const HelpOutcome noEnglish = PickHelpText("only chinese", 1);
  EXPECT_FALSE(noEnglish.ok);
  EXPECT_EQ(noEnglish.failure, TextId::HelpFileDamaged);
  EXPECT_EQ(PickHelpText("zh\r\n========\r\n", 1).failure, TextId::HelpFileDamaged);
  EXPECT_FALSE(PickHelpText("zh\r\n========\r\n", 1).ok);
  EXPECT_FALSE(PickHelpText("", 0).ok);
  EXPECT_FALSE(PickHelpText(" \r\n\t\r\n", 0).ok);
}

TEST(HelpDecode, GbkAndUtf8FilesGiveTheSameText) {
  const std::string utf8 = "\xE5\xB8\xAE\xE5\x8A\xA9\r\n========\r\nHelp\r\n";  // 帮助
  const std::string gbk = Utf8ToGbk(utf8);
  ASSERT_NE(gbk, utf8);
  EXPECT_EQ(DecodeHelpBytes(gbk), utf8);
  EXPECT_EQ(DecodeHelpBytes(utf8), utf8);
  EXPECT_EQ(DecodeHelpBytes("\xEF\xBB\xBF" + utf8), utf8);
  EXPECT_EQ(DecodeHelpBytes("plain"), "plain");
}

TEST(HelpLoad, MissingFileOrFolderIsNoHelpFile) {
  TempDir dir;
  const HelpOutcome missing = LoadHelp(dir / "HELP.txt", 0);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.failure, TextId::NoHelpFile);
  EXPECT_EQ(LoadHelp(dir.Path(), 0).failure, TextId::NoHelpFile);
}

TEST(HelpLoad, AFifoInPlaceOfTheFileIsNoHelpFileAndDoesNotHang) {
  TempDir dir;
  const std::string path = dir / "HELP.txt";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  auto loading = std::async(std::launch::async, [&] { return LoadHelp(path, 0); });
  if (loading.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
    // Release the blocked reader so the test can end.
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    ADD_FAILURE() << "opening a FIFO blocked";
  }
  const HelpOutcome outcome = loading.get();
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failure, TextId::NoHelpFile);
}

TEST(HelpLoad, ReadsAGbkFileBesideTheExecutable) {
  TempDir dir;
  const std::string path = HelpPathBesideExecutable(dir / "theolink");
  EXPECT_EQ(path, dir / "HELP.txt");
  WriteFile(path, Utf8ToGbk("\xE5\xB8\xAE\xE5\x8A\xA9\r\n========\r\nHelp\r\n"));
  EXPECT_EQ(LoadHelp(path, 0).text, "\xE5\xB8\xAE\xE5\x8A\xA9");
  EXPECT_EQ(LoadHelp(path, 1).text, "Help");
}

TEST(HelpLoad, BesideTheProgramThenTheInstalledShareFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir / "bin");
  EXPECT_EQ(FindHelpFile(dir / "bin/theolink"), dir / "bin/HELP.txt") << "named in the notice";
  std::filesystem::create_directories(dir / "share/theolink");
  WriteFile(dir / "share/theolink/HELP.txt", "zh\r\n========\r\nen\r\n");
  EXPECT_EQ(LoadHelp(FindHelpFile(dir / "bin/theolink"), 1).text, "en");
  WriteFile(dir / "bin/HELP.txt", "zh\r\n========\r\nportable\r\n");
  EXPECT_EQ(LoadHelp(FindHelpFile(dir / "bin/theolink"), 1).text, "portable");
}

TEST(HelpLoad, ShippedHelpFileIsGbkWithBothLanguages) {
  const std::string path = THEOLINK_TEST_DATA "/../../data/HELP.txt";
  const std::string bytes = test::ReadFile(path);
  ASSERT_FALSE(bytes.empty());
  EXPECT_FALSE(IsValidUtf8(bytes)) << "the shipped file is in GBK";
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "lines end in CR LF";
  const HelpOutcome zh = LoadHelp(path, 0);
  const HelpOutcome en = LoadHelp(path, 1);
  ASSERT_TRUE(zh.ok);
  ASSERT_TRUE(en.ok);
  EXPECT_TRUE(HasNonAscii(zh.text));
  EXPECT_FALSE(HasNonAscii(en.text));
  EXPECT_NE(en.text.find("Receive"), std::string::npos);
  EXPECT_EQ(SplitHelpSections(DecodeHelpBytes(bytes)).size(), 2u);
}

}  // namespace
}  // namespace theolink
