// The recent files: newest first, ten at most, one entry per file, and the same list back
// from the configuration file.
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace theolink {
namespace {

TEST(RecentFiles, NewestFirstTenAtMostNoRepeatsAndTheSameListBackFromTheFile) {
  using List = std::vector<std::string>;
  List ten;
  for (int i = 1; i <= 10; ++i) ten.push_back("/jobs/" + std::to_string(i) + ".dat");
  List elevenFirst{"/jobs/11.dat"};
  elevenFirst.insert(elevenFirst.end(), ten.begin(), ten.end() - 1);
  const std::string here = (std::filesystem::current_path() / "site.dat").lexically_normal().string();
  const struct {
    const char* name;
    List before;
    std::string added;
    List after;
  } rows[] = {
      {"IntoAnEmptyList", {}, "/jobs/a.dat", {"/jobs/a.dat"}},
      {"NewestFirst", {"/jobs/a.dat"}, "/jobs/b.dat", {"/jobs/b.dat", "/jobs/a.dat"}},
      {"ARepeatMovesToTheFront", {"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
      {"AnotherSpellingOfTheSameFile", {"/jobs/a.dat"}, "/jobs/./x/../a.dat", {"/jobs/a.dat"}},
      {"TheEleventhPushesTheOldestOut", ten, "/jobs/11.dat", elevenFirst},
      {"ARelativeNameIsKeptAbsolute", {}, "site.dat", {here}},
      {"NoName", {"/a"}, "", {"/a"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const List after = WithRecentFile(row.before, row.added);
    EXPECT_EQ(after, row.after);
    // Over a longer list that was there: the keys past the new list no longer count.
    IniFile ini = IniFile::Parse("[Form]\r\nPort=1\r\n[recent]\r\nFile1=/x\r\nFile2=/y\r\nFile3=/z\r\n");
    WriteRecentFiles(ini, after);
    const IniFile back = IniFile::Parse(ini.Serialize());
    EXPECT_EQ(ReadRecentFiles(back), after);
    EXPECT_EQ(back.ReadInteger("Form", "Port", 0), 1);
  }
  EXPECT_EQ(WithoutRecentFile({"/a", "/b", "/c"}, "/b"), (List{"/a", "/c"}));
  // A file edited by hand: gaps, repeats and keys past the tenth are passed over.
  EXPECT_EQ(ReadRecentFiles(IniFile::Parse("[Recent]\nFile1=/a\nFile2=\nFile3=/a\nFile4= /b \nFile11=/z\n")),
            (List{"/a", "/b"}));
}

}  // namespace
}  // namespace theolink
