// The station check as lines to read, in Chinese and the ENZ order here; the command line's
// English report has its golden file.
#include "app/station_check_lines.h"

#include <gtest/gtest.h>

#include "files/test_support.h"

namespace theolink {
namespace {

MeasureRecord KnownBacksight(double hz, double zenith) {
  MeasureRecord r = test::Backsight("\xb1\xb1", hz, zenith, 100);  // GBK for 北
  r.Backsight.HasBacksightPoint = 1;
  r.Backsight.BacksightNorth = 1100;
  r.Backsight.BacksightEast = 2000;
  return r;
}

// Station S1 at N 1000, E 2000, Z 100 looks due north in both faces, face II 0.6" off; P
// reduces to N 1000, E 2050, Z 100.200196 and is stored 0.04 mm south, 0.03 mm east and
// 0.2 mm low. Every value that rounds to zero is written without a sign.
TEST(StationCheckLines, ValuesInTheUnitsAndOrderOfTheSettingsAndNoSignOnZero) {
  MeasureRecord shot = test::CoordShot("P", "", 999.99996, 2050.00003, 100.2);
  shot.CoordShot.HasObservation = 1;
  shot.CoordShot.HorizontalAngle = 90;
  shot.CoordShot.VerticalAngle = 90;
  shot.CoordShot.SlopeDistance = 50;
  const std::vector<MeasureRecord> records = {test::Station("S1", "", 2000, 1000, 100),
                                              KnownBacksight(0, 90), KnownBacksight(180 + 0.6 / 3600, 270), shot};
  Settings settings;
  settings.CoordOrder = 1;
  const std::vector<std::string> expected = {
      "测站检查：长度单位 米，角度单位 度分秒，K 0.00，格网因子 1.00；长度超过 0.0200、角度超过 0.0020 时警告",
      "测站 S1",
      "  后视 北，盘左：方位角 0.0000，读数 0.0000，定向改正 0.0000",
      "  后视 北，盘右：方位角 0.0000，读数 180.0001，定向改正 359.5959",
      "  后视 北：实测平距 100.0000，反算平距 100.0000，差值 0.0000",
      "  后视 北：实测平距 100.0000，反算平距 100.0000，差值 0.0000",
      "  残差 P：dE 0.0000，dN 0.0000，dZ -0.0002，最大 0.0002",
      "  盘左盘右 北：照准差 0.0000，指标差 0.0000，距离差 0.0000",
  };
  EXPECT_EQ(StationCheckLines(records, CheckStations(records, settings), settings, 0), expected);
  EXPECT_EQ(StationCheckLines({}, {}, settings, 1).back(), "The job has no station set-up.");
}

}  // namespace
}  // namespace theolink
