#include "files/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace theolink {
namespace {

TEST(TextEncoding, GbkRoundTrip) {
  const std::string utf8 = "A \xE5\x85\xA8\xE7\xAB\x99\xE4\xBB\xAA\xEF\xBC\x8C z";  // A 全站仪， z
  const std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk, "A \xC8\xAB\xD5\xBE\xD2\xC7\xA3\xAC z");
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(TextEncoding, AsciiPassesUnchanged) {
  EXPECT_EQ(GbkToUtf8("Point,1.0\r\n"), "Point,1.0\r\n");
  EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(TextEncoding, BadBytesAreReplacedNotDropped) {
  // A lone lead byte at the end, and 0xFF, are not GBK.
  EXPECT_EQ(GbkToUtf8("a\xFF"
                      "b\xC8"),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
  // A character outside GBK and a broken sequence become '?'.
  EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y\xE5z"), "x?y?z");
}

TEST(TextEncoding, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xE5\xB8\xAE"));
  EXPECT_FALSE(IsValidUtf8("\xE5\xB8"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xB0\xEF\xD6\xFA"));  // GBK 帮助
  EXPECT_TRUE(HasNonAscii("\x80"));
  EXPECT_FALSE(HasNonAscii("abc"));
}

}  // namespace
}  // namespace theolink
