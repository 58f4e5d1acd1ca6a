// The window's rules that need no widget: save plans and filters, the grid scale entry,
// the hint areas and the units hint, the texts of titles, headers, progress and saves.
#include <gtest/gtest.h>

#include "app/grid_scale_entry.h"
#include "app/save_action.h"
#include "app/save_plan.h"
#include "app/text_table.h"
#include "app/transfer_end.h"
#include "app/window_modes.h"
#include "app/window_texts.h"
#include "files/save_formats.h"

namespace theolink {
namespace {

TEST(SavePlan, RefusalsFiltersAndTheTextOnlyCase) {
  WorkingData d;
  EXPECT_EQ(PlanSave(d, false, 1).notice, TextId::NoDataToSave);
  const SavePlan help = PlanSave(d, true, 1);
  EXPECT_TRUE(help.viewTextOnly);
  EXPECT_EQ(help.filter, "*.txt|*.txt");
  d.DataKind = DataKind::Coord;
  EXPECT_EQ(PlanSave(d, true, 1).notice, TextId::NoDataToSave);
  d.PointList.emplace_back();
  EXPECT_EQ(PlanSave(d, false, 0).filter, SaveFilterText(DataKind::Coord, 0));
}

TEST(SavePlan, FilterEntriesKeepTheirIndexes) {
  const auto measure = SplitFilter(SaveFilterText(DataKind::Measure, 1));
  ASSERT_EQ(measure.size(), 15u);
  EXPECT_EQ(measure[8].description, "TS job file(*.wkj)");
  EXPECT_EQ(measure[9].description, "LandXML 1.2 point file(*.xml)");
  const auto open = SplitFilter(OpenFilterText(1));
  ASSERT_EQ(open.size(), 7u);
  EXPECT_EQ(open[1].patterns, (std::vector<std::string>{"*.dat", "*.csv", "*.txt"}));
}

TEST(TransferEnd, WhatIsToldAndWhichCopyIsPointedTo) {
  using S = TransferEndStep;
  const struct {
    TransferEndFacts facts;
    std::vector<S> steps;
    std::string path;
  } rows[] = {
      {{"", false, true, false, "raw.txt", ""}, {S::RawCopyPath}, "raw.txt"},
      // A send names no copy, even one an earlier receive left behind.
      {{"", true, false, false, "raw.txt", ""}, {S::LinkDropped}, ""},
      {{"EComPort", false, true, true, "raw.txt", ""}, {S::PortError, S::ReceiveLimit}, "raw.txt"},
      // A copy cut short by a failed write is never offered as the whole receive.
      {{"", false, true, true, "raw.txt", "disk full"}, {S::ReceiveLimit, S::RawCopyFailed}, ""},
      {{"", false, true, false, "raw.txt", "disk full"}, {S::RawCopyFailed}, ""},
  };
  for (const auto& row : rows) {
    const TransferEnd end = DecideTransferEnd(row.facts);
    EXPECT_EQ(end.steps, row.steps) << row.facts.copyError << row.facts.wasReceive;
    EXPECT_EQ(end.rawCopyPath, row.path);
  }
}

TEST(GridScaleEntry, RangeAndTextsThatAreNoNumber) {
  struct Row { const char* typed; bool accepted; const char* text; TextId refusal = TextId::GridScaleRange; };
  for (const Row& r : {Row{"0.9", true, "0.90"}, Row{"1.1", true, "1.10"}, Row{" 1.05 ", true, "1.05"},
                       Row{"1.1000001", false, "0.95"}, Row{"0.8999", false, "0.95"}, Row{"2", false, "0.95"},
                       Row{"abc", false, "0.95"}, Row{"", false, "0.95"}, Row{"1.0x", false, "0.95"},
                       Row{"nan", false, "0.95"},
                       // Up to six decimals are kept as typed; a seventh is refused, not rounded.
                       Row{"0.9996", true, "0.9996"}, Row{"1.000123", true, "1.000123"}, Row{"1.005", true, "1.005"},
                       Row{"1.0000000", true, "1.00"}, Row{"1.0000001", false, "0.95", TextId::GridScaleDecimals},
                       Row{"0.99999999", false, "0.95", TextId::GridScaleDecimals}}) {
    const GridScaleEntry e = CheckGridScale(r.typed, 0.95);
    EXPECT_EQ(e.accepted, r.accepted) << r.typed;
    EXPECT_EQ(e.text, r.text) << r.typed;
    if (!r.accepted) {
      EXPECT_EQ(e.refusal, r.refusal) << r.typed;
    }
  }
}

TEST(WindowHints, TransferHintAreaAndUnitsText) {
  EXPECT_TRUE(InTransferHintArea(56, 29));
  EXPECT_TRUE(InTransferHintArea(79, 22));
  EXPECT_FALSE(InTransferHintArea(60, 25));
  EXPECT_FALSE(InTransferHintArea(0, 0));
  Settings s;
  s.AngleUnit = 1;
  s.DistanceUnit = 2;
  EXPECT_EQ(CurrentUnitText(s, 1), "Current Unit: GOM, INT-Ft");
  EXPECT_EQ(CurrentUnitText(s, 0), "当前单位: GOM, 国际英尺");
}

TEST(WindowTexts, TitleHeadersProgressAndWhatASaveWrote) {
  EXPECT_EQ(DocumentTitle("", true, 1), "Theolink II " + std::string(kVersionText));
  EXPECT_EQ(DocumentTitle("点.txt", true, 0), "点.txt* - 全站仪传输软件 " + std::string(kVersionText));
  Settings s;
  s.DistanceUnit = 1;
  s.CoordOrder = 1;
  EXPECT_EQ(GridHeaderTexts(DataKind::Coord, s, 1),
            (std::vector<std::string>{"Point Num", "Point name", "East coordinates [US ft]",
                                      "North coordinates [US ft]", "Elevation(Z) [US ft]", "Code"}));
  s.DistanceUnit = 7;  // read as metres, as the value forms do
  EXPECT_EQ(GridHeaderTexts(DataKind::Coord, s, 0)[4], "高程(Z) [米]");
  EXPECT_EQ(GridHeaderTexts(DataKind::Code, s, 1), (std::vector<std::string>{"Point Num", "Code"}));
  EXPECT_EQ(TransferProgressText(12345, 210, 7, 1), "12 345 bytes, 210 lines, 0:07");
  EXPECT_EQ(TransferProgressText(1234567, 0, 3723, 0), "1234567 字节，0 行，1:02:03");
  EXPECT_EQ(CountText(999, 1), "999");
  EXPECT_EQ(CountText(1000, 1), "1 000");
  const struct {
    SaveSummary saved;
    int language;
    const char* text;
  } saves[] = {
      {{SavedKind::Points, 1234, "/x/points.csv"}, 1, "Saved 1 234 points to /x/points.csv"},
      {{SavedKind::Points, 1, "/x/p.dat"}, 1, "Saved 1 point to /x/p.dat"},
      {{SavedKind::Points, 1234, "/x/points.csv"}, 0, "已保存 1234 个点到 /x/points.csv"},
      {{SavedKind::Records, 0, "/x/j.wkj"}, 1, "Saved 0 records to /x/j.wkj"},
      {{SavedKind::Codes, 3, "/x/c.txt"}, 0, "已保存 3 个编码到 /x/c.txt"},
      {{SavedKind::Lines, 2, "/x/h.txt"}, 1, "Saved 2 lines to /x/h.txt"},
  };
  for (const auto& row : saves) EXPECT_EQ(SaveSummaryText(row.saved, row.saved.Path, row.language), row.text);
}

}  // namespace
}  // namespace theolink
