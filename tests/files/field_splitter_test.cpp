#include "files/field_splitter.h"

#include <gtest/gtest.h>

namespace theolink {
namespace {

using L = LineList;

// SplitQuotedFields, checked against the view splitter wherever that one takes the line.
L Split(std::string_view line, char delimiter = ',') {
  const L fields = SplitQuotedFields(line, delimiter);
  std::vector<std::string_view> views;
  const bool unquoted = SplitUnquotedFields(line, delimiter, views);
  EXPECT_EQ(unquoted, line.find('"') == std::string_view::npos) << line;
  if (unquoted) {
    EXPECT_EQ(L(views.begin(), views.end()), fields) << line;
  }
  return fields;
}

TEST(FieldSplitter, EmptyFieldsBetweenAndAfterDelimiters) {
  EXPECT_EQ(Split("a,,b"), (L{"a", "", "b"}));
  EXPECT_EQ(Split("a,"), (L{"a", ""}));
  EXPECT_EQ(Split(",a"), (L{"", "a"}));
  EXPECT_EQ(Split(""), L{});
  EXPECT_EQ(Split(" \t "), L{});
}

TEST(FieldSplitter, BlanksSeparateUnquotedFields) {
  EXPECT_EQ(Split("A 1,x"), (L{"A", "1", "x"}));
  EXPECT_EQ(Split("  a ,  b  "), (L{"a", "b"}));
}

TEST(FieldSplitter, QuotedFieldsKeepDelimitersBlanksAndDoubledQuotes) {
  EXPECT_EQ(Split("\"P 1\",\"a,b\",\"say \"\"hi\"\"\""), (L{"P 1", "a,b", "say \"hi\""}));
  // An unterminated quote takes the rest of the line.
  EXPECT_EQ(Split("x,\"open end"), (L{"x", "open end"}));
}

TEST(FieldSplitter, OtherDelimiterAndZeroByte) {
  EXPECT_EQ(Split("a:b,c:", ':'), (L{"a", "b,c", ""}));
  EXPECT_EQ(Split(std::string("a,b\0,c", 6)), (L{"a", "b"}));
}

}  // namespace
}  // namespace theolink
