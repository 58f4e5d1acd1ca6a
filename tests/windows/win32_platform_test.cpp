// What the Windows build does in its own way: port names, the system's error texts, paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "files/file_io.h"
#include "serial/com_error.h"
#include "serial/com_port.h"
#include "support/temp_dir.h"

namespace theolink {
namespace {

TEST(Win32PortNames, NamesMapToDevicePaths) {
  EXPECT_EQ(PortDevicePath("COM1"), "\\\\.\\COM1");
  EXPECT_EQ(PortDevicePath("com12"), "\\\\.\\com12");
  EXPECT_EQ(PortDevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
  EXPECT_EQ(PortDevicePath(""), "");
}

TEST(Win32ErrorTexts, MessagesCarryTheSystemsTextWithoutItsFullStop) {
  const std::string text = OsErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed, ERROR_FILE_NOT_FOUND).what()),
            "Unable to open com port (Error: 2, " + text + ")");
  EXPECT_EQ(std::string(EComPort(CE_OpenFailed, 0).what()), "Unable to open com port");
  EXPECT_EQ(OpenProblemOf(ERROR_ACCESS_DENIED), PortOpenProblem::Busy);
  EXPECT_EQ(OpenProblemOf(ERROR_FILE_NOT_FOUND), PortOpenProblem::Missing);
}

TEST(Win32Files, AtomicReplaceKeepsUtf8NamesAndReplacesTheOldFile) {
  test::TempDir dir;
  const std::string path = dir / "\xE6\xB5\x8B\xE9\x87\x8F.txt";  // a Chinese name
  ASSERT_TRUE(WriteFileAtomically(path, "old").Ok());
  ASSERT_TRUE(WriteFileAtomically(path, std::string("new\r\n\x00\x1A", 7)).Ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes).Ok());
  EXPECT_EQ(bytes, std::string("new\r\n\x00\x1A", 7));
  EXPECT_TRUE(IsAbsolutePath("C:/x"));
  EXPECT_TRUE(IsAbsolutePath("\\\\server\\share"));
  EXPECT_FALSE(IsAbsolutePath("x/y"));
  EXPECT_EQ(CheckSaveTarget("NUL").Fault, FileFault::Device);
  EXPECT_EQ(CheckSaveTarget(dir.Path()).Fault, FileFault::Folder);
}

}  // namespace
}  // namespace theolink
