#include "app/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app_test_dir.h"

namespace theolink {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ConfigLocation, NamesTheFileAfterTheExecutable) {
  EXPECT_EQ(IniPathBesideExecutable("/opt/t/bin/theolink"), "/opt/t/bin/theolink.INI");
  EXPECT_EQ(IniPathBesideExecutable("/opt/t/Theolink.exe"), "/opt/t/Theolink.INI");
  EXPECT_EQ(IniPathBesideExecutable("/opt/v1.5/theolink"), "/opt/v1.5/theolink.INI");
  EXPECT_EQ(IniPathBesideExecutable("/opt/.hidden"), "/opt/.hidden.INI");
  EXPECT_EQ(ProgramName("/opt/t/Theolink.exe"), "Theolink");
  EXPECT_EQ(ProgramName("/opt/v1.5/theolink-cli"), "theolink-cli");
  EXPECT_EQ(ProgramName(""), "theolink");
}

TEST(ConfigLocation, UserFolderPrefersAnAbsoluteXdgConfigHome) {
  EXPECT_EQ(UserIniPath("/usr/bin/theolink", {"/x/cfg/", "/home/u"}),
            "/x/cfg/theolink/theolink.INI");
  EXPECT_EQ(UserIniPath("/usr/bin/theolink", {"relative", "/home/u"}),
            "/home/u/.config/theolink/theolink.INI");
  EXPECT_EQ(UserIniPath("/usr/bin/theolink", {"", "/home/u"}),
            "/home/u/.config/theolink/theolink.INI");
  EXPECT_EQ(UserIniPath("/usr/bin/theolink", {"", ""}), "");
}

TEST(ConfigLocation, BesideTheProgramOnlyInItsBuildFolderOrAPortableCopy) {
  TempDir dir;
  for (const char* folder : {"build/bin", "portable", "fresh", "prefix/bin", "prefix/share/theolink"})
    std::filesystem::create_directories(dir / folder);
  WriteFile(dir / "build/CMakeCache.txt", "");
  WriteFile(dir / "portable/theolink.INI", "[Form]\n");
  WriteFile(dir / "prefix/bin/theolink.INI", "[Form]\n");  // left by an older install
  const ConfigEnvironment user{dir / "cfg", "/home/u"};
  const ConfigEnvironment root{"", "/root"};
  struct Row {
    std::string executable;
    ConfigEnvironment environment;
    std::string read, write;
  };
  const Row rows[] = {
      {dir / "build/bin/theolink", user, dir / "build/bin/theolink.INI", dir / "build/bin/theolink.INI"},
      {dir / "portable/theolink", user, dir / "portable/theolink.INI", dir / "portable/theolink.INI"},
      {dir / "fresh/theolink", user, dir / "cfg/theolink/theolink.INI", dir / "cfg/theolink/theolink.INI"},
      {"/usr/bin/theolink", user, dir / "cfg/theolink/theolink.INI", dir / "cfg/theolink/theolink.INI"},
      {"/usr/local/bin/theolink-cli", user, dir / "cfg/theolink/theolink-cli.INI",
       dir / "cfg/theolink/theolink-cli.INI"},
      {"/usr/bin/theolink", root, "/root/.config/theolink/theolink.INI", "/root/.config/theolink/theolink.INI"},
      {dir / "prefix/bin/theolink", user, dir / "prefix/bin/theolink.INI", dir / "cfg/theolink/theolink.INI"},
  };
  for (const Row& row : rows) {
    const ConfigLocation location = ResolveConfigLocation(row.executable, row.environment);
    EXPECT_EQ(location.readPath, row.read) << row.executable;
    EXPECT_EQ(location.writePath, row.write) << row.executable;
  }
}

TEST(ConfigLocation, UnusableFolderMovesTheFileToTheUserFolder) {
  TempDir dir;
  // A folder that does not exist cannot take the file.
  const ConfigLocation location = ResolveConfigLocation(dir / "gone/theolink", {dir / "cfg", ""});
  EXPECT_EQ(location.readPath, dir / "cfg/theolink/theolink.INI");
  EXPECT_EQ(location.writePath, location.readPath);
}

TEST(ConfigFile, WritesAndReadsInTheSamePlaceWhenInstalledReadOnly) {
  TempDir dir;
  const ConfigFile config(dir / "gone/theolink", {dir / "cfg", ""});
  EXPECT_EQ(StartLanguage(config, {"", "", "zh_CN.UTF-8"}), 0);
  Settings settings;
  settings.AngleUnit = 1;
  settings.GridScale = "0.95";
  ASSERT_TRUE(ConfirmSettings(config, settings));
  const std::string path = dir / "cfg/theolink/theolink.INI";
  EXPECT_EQ(ReadFile(path),
            "[Form]\r\nLanguage=0\r\n\r\n[Setting]\r\nAngleUnit=1\r\nLengthUnit=0\r\n"
            "KOption=0\r\nGridScale=0.95\r\nCoordOrder=0\r\n");
  const Settings back = LoadCurrentSettings(config);
  EXPECT_EQ(back.AngleUnit, 1);
  EXPECT_EQ(back.GridScale, "0.95");
  // Later starts read the file, not the locale.
  EXPECT_EQ(StartLanguage(config, {"", "", "en_US"}), 0);
}

TEST(ConfigFile, StartLanguageClampsAndWritesBack) {
  TempDir dir;
  WriteFile(dir / "theolink.INI", "[Form]\nLanguage=7\nPort=2\n");
  const ConfigFile config(dir / "theolink", {"", ""});
  EXPECT_EQ(StartLanguage(config, {"", "", "zh_CN"}), 1);
  EXPECT_EQ(ReadFile(dir / "theolink.INI"), "[Form]\nLanguage=1\nPort=2\n");
}

TEST(ConfigFile, FirstStartCreatesTheFileWithTheLocaleLanguage) {
  TempDir dir;
  const ConfigFile config(dir / "theolink", {"", ""});
  EXPECT_FALSE(std::filesystem::exists(dir / "theolink.INI"));
  EXPECT_EQ(LoadCurrentSettings(config).GridScale, "1.00");
  EXPECT_FALSE(std::filesystem::exists(dir / "theolink.INI")) << "reading must not create it";
  EXPECT_EQ(StartLanguage(config, {"", "", "de_DE.UTF-8"}), 1);
  EXPECT_EQ(ReadFile(dir / "theolink.INI"), "[Form]\r\nLanguage=1\r\n");
}

TEST(ConfigFile, FormPositionsSurviveAlongsideUserLines) {
  TempDir dir;
  WriteFile(dir / "theolink.INI", "# mine\n[Setting]\nAngleUnit=2\n[Extra]\nx=y\n");
  const ConfigFile config(dir / "theolink", {"", ""});
  ASSERT_TRUE(StoreFormPositions(config, {3, 12, ""}));
  const FormPositions back = LoadFormPositions(config);
  EXPECT_EQ(back.port, 3);
  EXPECT_EQ(back.baudrate, 12);
  EXPECT_EQ(ReadFile(dir / "theolink.INI"),
            "# mine\n[Setting]\nAngleUnit=2\n[Extra]\nx=y\n\n[Form]\nPort=3\nBaudrate=12\n");
  // A typed device has a name but no index; emptying the name later keeps the key.
  ASSERT_TRUE(StoreFormPositions(config, {-1, 13, "/dev/pts/4"}));
  EXPECT_EQ(LoadFormPositions(config).portName, "/dev/pts/4");
  ASSERT_TRUE(StoreFormPositions(config, {0, 13, ""}));
  EXPECT_EQ(ReadFile(dir / "theolink.INI"),
            "# mine\n[Setting]\nAngleUnit=2\n[Extra]\nx=y\n\n[Form]\nPort=0\nBaudrate=13\nPortName=\n");
}

TEST(ConfigFile, ReadOnlyBesideFileSeedsTheUserCopy) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempDir dir;
  ASSERT_EQ(::mkdir((dir / "bin").c_str(), 0755), 0);
  WriteFile(dir / "bin/theolink.INI", "[Setting]\nAngleUnit=2\n");
  ASSERT_EQ(::chmod((dir / "bin/theolink.INI").c_str(), 0444), 0);
  ASSERT_EQ(::chmod((dir / "bin").c_str(), 0555), 0);
  const ConfigFile config(dir / "bin/theolink", {dir / "cfg", ""});
  EXPECT_EQ(LoadCurrentSettings(config).AngleUnit, 2);
  ASSERT_TRUE(StoreFormPositions(config, {1, 13, ""}));
  const std::string user = dir / "cfg/theolink/theolink.INI";
  EXPECT_EQ(ReadFile(user), "[Setting]\nAngleUnit=2\n\n[Form]\nPort=1\nBaudrate=13\n");
  EXPECT_EQ(LoadCurrentSettings(config).AngleUnit, 2);
  EXPECT_EQ(ReadFile(dir / "bin/theolink.INI"), "[Setting]\nAngleUnit=2\n");
  ::chmod((dir / "bin").c_str(), 0755);
}

TEST(ConfigFile, UnwritableEverywhereReportsFailure) {
  TempDir dir;
  const ConfigFile config(dir / "gone/theolink", {"", ""});
  EXPECT_FALSE(ConfirmSettings(config, Settings{}));
}

}  // namespace
}  // namespace theolink
