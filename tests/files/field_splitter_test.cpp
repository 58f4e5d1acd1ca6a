#include "files/field_splitter.h"

#include <gtest/gtest.h>

namespace theolink {
namespace {

using L = LineList;

TEST(FieldSplitter, EmptyFieldsBetweenAndAfterDelimiters) {
  EXPECT_EQ(SplitQuotedFields("a,,b"), (L{"a", "", "b"}));
  EXPECT_EQ(SplitQuotedFields("a,"), (L{"a", ""}));
  EXPECT_EQ(SplitQuotedFields(",a"), (L{"", "a"}));
  EXPECT_EQ(SplitQuotedFields(""), L{});
  EXPECT_EQ(SplitQuotedFields(" \t "), L{});
}

TEST(FieldSplitter, BlanksSeparateUnquotedFields) {
  EXPECT_EQ(SplitQuotedFields("A 1,x"), (L{"A", "1", "x"}));
  EXPECT_EQ(SplitQuotedFields("  a ,  b  "), (L{"a", "b"}));
}

TEST(FieldSplitter, QuotedFieldsKeepDelimitersBlanksAndDoubledQuotes) {
  EXPECT_EQ(SplitQuotedFields("\"P 1\",\"a,b\",\"say \"\"hi\"\"\""), (L{"P 1", "a,b", "say \"hi\""}));
  // An unterminated quote takes the rest of the line.
  EXPECT_EQ(SplitQuotedFields("x,\"open end"), (L{"x", "open end"}));
}

TEST(FieldSplitter, OtherDelimiterAndZeroByte) {
  EXPECT_EQ(SplitQuotedFields("a:b,c:", ':'), (L{"a", "b,c", ""}));
  EXPECT_EQ(SplitQuotedFields(std::string("a,b\0,c", 6)), (L{"a", "b"}));
}

}  // namespace
}  // namespace theolink
