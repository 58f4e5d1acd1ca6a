#include "app/text_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/language.h"
#include "files/text_encoding.h"
#include "files/save_formats.h"

namespace theolink {
namespace {

struct GoldenRow {
  std::string name;
  std::vector<std::string> fields;  // Chinese, English[, Chinese caption, English caption]
};

// One row per text entry in identifier order, then one row per filter.
std::vector<GoldenRow> ReadGolden() {
  std::ifstream in(THEOLINK_TEST_DATA "/app/text_table.tsv", std::ios::binary);
  std::vector<GoldenRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    GoldenRow row;
    std::stringstream cells(line);
    std::string cell;
    std::getline(cells, row.name, '\t');
    while (std::getline(cells, cell, '\t')) row.fields.push_back(cell);
    rows.push_back(row);
  }
  return rows;
}

TEST(TextTable, EveryEntryMatchesTheGoldenTextInBothLanguages) {
  const std::vector<GoldenRow> rows = ReadGolden();
  const auto count = static_cast<std::size_t>(TextId::Count_);
  ASSERT_EQ(rows.size(), count + 4) << "golden file must list every text and the four filters";
  for (std::size_t i = 0; i < count; ++i) {
    const auto id = static_cast<TextId>(i);
    const GoldenRow& row = rows[i];
    SCOPED_TRACE(row.name);
    ASSERT_GE(row.fields.size(), 2u);
    EXPECT_EQ(PickText(id, 0), row.fields[0]);
    EXPECT_EQ(PickText(id, 1), row.fields[1]);
    EXPECT_FALSE(PickText(id, 0).empty());
    EXPECT_FALSE(PickText(id, 1).empty());
    EXPECT_NE(PickText(id, 0), PickText(id, 1));
    const bool question = row.fields.size() == 4;
    EXPECT_EQ(IsQuestion(id), question);
    if (question) {
      EXPECT_EQ(PickCaption(id, 0), row.fields[2]);
      EXPECT_EQ(PickCaption(id, 1), row.fields[3]);
    } else {
      EXPECT_TRUE(PickCaption(id, 0).empty());
      EXPECT_TRUE(PickCaption(id, 1).empty());
    }
  }
  // The save filters come from the save format table, a row an entry.
  const auto filter = [](std::size_t i, int language) {
    return i == 0 ? OpenFilterText(language) : SaveFilterText(static_cast<DataKind>(i), language);
  };
  for (std::size_t i = 0; i < 4; ++i) {
    const GoldenRow& row = rows[count + i];
    SCOPED_TRACE(row.name);
    ASSERT_EQ(row.fields.size(), 2u);
    EXPECT_EQ(filter(i, 0), row.fields[0]);
    EXPECT_EQ(filter(i, 1), row.fields[1]);
  }
}

TEST(TextTable, ChineseTextsAreAllRepresentableInGbk) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(TextId::Count_); ++i) {
    const auto id = static_cast<TextId>(i);
    for (std::string_view text : {PickText(id, 0), PickCaption(id, 0)}) {
      const std::string gbk = Utf8ToGbk(text);
      EXPECT_EQ(GbkToUtf8(gbk), text) << "entry " << i;
    }
  }
}

TEST(TextTable, EnglishTextsArePlainAsciiExceptTheReceivingStatus) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(TextId::Count_); ++i) {
    const auto id = static_cast<TextId>(i);
    if (id == TextId::Receiving) continue;
    EXPECT_FALSE(HasNonAscii(PickText(id, 1))) << "entry " << i;
  }
}

TEST(TextTable, ReceivingStatusKeepsItsFullWidthComma) {
  EXPECT_EQ(PickText(TextId::Receiving, 1),
            "Sending\xEF\xBC\x8CIf you want to stop, press the stop button");
  // In GBK the comma is the two bytes A3 AC.
  EXPECT_EQ(Utf8ToGbk(PickText(TextId::Receiving, 1)).substr(7, 2), "\xA3\xAC");
}

TEST(TextTable, SpotChecksOfExactBytes) {
  EXPECT_EQ(PickText(TextId::Title, 0),
            "\xE5\x85\xA8\xE7\xAB\x99\xE4\xBB\xAA\xE4\xBC\xA0"
            "\xE8\xBE\x93\xE8\xBD\xAF\xE4\xBB\xB6");  // 全站仪传输软件
  EXPECT_EQ(PickText(TextId::Title, 1), "Theolink II");
  EXPECT_EQ(PickText(TextId::FileNotExists, 1), "file not exists or permission denny");
  EXPECT_EQ(PickText(TextId::ErrorWhileReading, 1), "error occurred while reading");
  EXPECT_EQ(PickText(TextId::TotalPrefix, 1), "Total: ");
  EXPECT_EQ(PickText(TextId::NoComportFound, 1), "No any Comport found!");
  EXPECT_EQ(PickText(TextId::OKBtn, 1), "Return");
  EXPECT_EQ(PickText(TextId::ReceiveHint, 1),
            "Receive data:Click \"Receive\" button within 20 seconds after the instrument "
            "click the \"Export\" button");
  EXPECT_EQ(PickText(TextId::AskDeleteRow, 1), "Are you sure you want to delete the data?");
  EXPECT_EQ(PickCaption(TextId::AskReplaceFile, 1), "File replace");
  EXPECT_EQ(PickCaption(TextId::AskClearData, 0), "\xE6\x8F\x90\xE7\xA4\xBA");  // 提示
}

TEST(TextTable, FiltersDifferBetweenLanguagesWherePlanned) {
  // Both open filters offer every binary ending the readers take.
  for (int language : {0, 1}) {
    EXPECT_NE(OpenFilterText(language).find("(*.mea;*.job;*.dat;*.jbf)|*.mea;*.job;*.dat;*.jbf|"),
              std::string_view::npos);
    EXPECT_NE(OpenFilterText(language).find("(*.coo;*.pts;*.cor;*.ptf)|*.coo;*.pts;*.cor;*.ptf|"),
              std::string_view::npos);
  }
  const std::string measureEn = SaveFilterText(DataKind::Measure, 1);
  const std::string measureZh = SaveFilterText(DataKind::Measure, 0);
  EXPECT_NE(measureEn.find("GTS-7 coordinate File(*.txt)|*.txt"), std::string_view::npos);
  EXPECT_NE(measureZh.find("(*.gt7)|*.gt7|\xE5\xB7\xA5"), std::string_view::npos);  // ...|工作
}

TEST(TextTable, FilterForAnUnknownLanguageIsEmpty) {
  EXPECT_TRUE(OpenFilterText(2).empty());
}

TEST(TextTable, UnknownIdentifierGivesEmptyText) {
  EXPECT_TRUE(PickText(TextId::Count_, 1).empty());
  EXPECT_TRUE(PickCaption(static_cast<TextId>(200), 0).empty());
  EXPECT_FALSE(IsQuestion(TextId::Count_));
}

TEST(TextTable, UnitNamesAreAppendedInIndexOrder) {
  std::vector<std::string> names{"kept"};
  FillUnitNames(UnitKind::Angle, 1, names);
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "DMS", "GOM", "MIL"}));
  names.clear();
  FillUnitNames(UnitKind::Angle, 0, names);
  EXPECT_EQ(names,
            (std::vector<std::string>{"\xE5\xBA\xA6\xE5\x88\x86\xE7\xA7\x92", "GOM", "MIL"}));
  names.clear();
  FillUnitNames(UnitKind::Distance, 1, names);
  EXPECT_EQ(names, (std::vector<std::string>{"Meter", "US-Ft", "INT-Ft"}));
  names.clear();
  FillUnitNames(UnitKind::Distance, 0, names);
  EXPECT_EQ(names, (std::vector<std::string>{"\xE7\xB1\xB3",
                                             "\xE7\xBE\x8E\xE5\x9B\xBD\xE8\x8B\xB1\xE5\xB0\xBA",
                                             "\xE5\x9B\xBD\xE9\x99\x85\xE8\x8B\xB1\xE5\xB0\xBA"}));
  names.clear();
  FillUnitNames(UnitKind::Distance, 3, names);
  EXPECT_TRUE(names.empty());
}

TEST(TextTable, WindowTitleIsTitleBlankVersion) {
  EXPECT_EQ(WindowTitle(1), "Theolink II v1.5");
  EXPECT_EQ(WindowTitle(0), std::string(PickText(TextId::Title, 0)) + " v1.5");
}

TEST(Language, StartsChineseAndStoresAnythingElseAsEnglish) {
  // The flag is program-wide; put it back for the other tests.
  const int saved = CurrentLanguage();
  SetLanguage(0);
  EXPECT_EQ(CurrentLanguage(), 0);
  EXPECT_EQ(PickText(TextId::SaveBtn), PickText(TextId::SaveBtn, 0));
  SetLanguage(7);
  EXPECT_EQ(CurrentLanguage(), 1);
  EXPECT_EQ(PickText(TextId::SaveBtn), "Save");
  EXPECT_EQ(PickCaption(TextId::AskDeleteRow), "Delete");
  SetLanguage(-1);
  EXPECT_EQ(CurrentLanguage(), 1);
  SetLanguage(saved);
}

}  // namespace
}  // namespace theolink
