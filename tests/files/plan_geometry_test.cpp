// The plan view's geometry without widgets: what a job and a point list draw, fitting,
// zoom about the pointer, the visible set with its thinning, and the hit test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "files/plan_index.h"
#include "files/plan_scene.h"
#include "files/plan_viewport.h"
#include "test_support.h"

namespace theolink {
namespace {

using test::N;

MeasureRecord OrientedBacksight(const char* name, double hz, double north, double east) {
  MeasureRecord r = test::Backsight(name, hz, 90, 0);
  r.Backsight.HasBacksightPoint = 1;
  r.Backsight.BacksightNorth = north;
  r.Backsight.BacksightEast = east;
  return r;
}

// Station at N 1000, E 2000 oriented due north on B (read at 0); one shot due east, 100 m;
// an SC shot due south, 50 m, stored 3 cm north and 4 cm east of where it reduces to.
std::vector<MeasureRecord> Job() {
  MeasureRecord sc = test::CoordShot("C", "CC", 950.03, 2000.04, 100);
  sc.CoordShot.HasObservation = 1;
  sc.CoordShot.HorizontalAngle = 180;
  sc.CoordShot.VerticalAngle = 90;
  sc.CoordShot.SlopeDistance = 50;
  return {test::Station("S", "STN", 2000, 1000, 100), OrientedBacksight("B", 0, 1100, 2000),
          test::SlopeShot("P", "PC", 90, 90, 100), sc};
}

const PlanPoint* Named(const PlanScene& scene, const char* name) {
  for (const PlanPoint& p : scene.Points)
    if (p.Name == name) return &p;
  return nullptr;
}

TEST(PlanScene, AJobDrawsItsStationsBacksightsRaysAndResiduals) {
  WorkingData data;
  data.MeasurementList = Job();
  Settings settings;
  PlanScene plain = BuildPlanScene(data, settings);
  ASSERT_EQ(plain.Points.size(), 3u);  // S, B, C: P has no coordinates until reduced
  ASSERT_NE(Named(plain, "S"), nullptr);
  EXPECT_EQ(Named(plain, "S")->Marks, PlanMarkStation);
  EXPECT_EQ(Named(plain, "S")->North, 1000);
  EXPECT_EQ(Named(plain, "S")->East, 2000);
  EXPECT_EQ(Named(plain, "B")->Marks, PlanMarkBacksight);
  ASSERT_EQ(plain.Rays.size(), 1u);
  EXPECT_EQ(plain.Rays[0].Kind, PlanRayKind::Backsight);
  EXPECT_EQ(plain.Rays[0].ToNorth, 1100);
  ASSERT_EQ(plain.Residuals.size(), 1u);
  EXPECT_NEAR(plain.Residuals[0].DeltaNorth, 0.03, 1e-6);
  EXPECT_NEAR(plain.Residuals[0].DeltaEast, 0.04, 1e-6);
  EXPECT_NEAR(plain.LargestResidual, 0.05, 1e-6);

  settings.ComputeShots = true;
  const PlanScene reduced = BuildPlanScene(data, settings);
  ASSERT_NE(Named(reduced, "P"), nullptr);
  EXPECT_EQ(Named(reduced, "P")->Marks, PlanMarkShot);
  EXPECT_NEAR(Named(reduced, "P")->East, 2100, 1e-6);
  // A ray to each reduced shot, the stored SC's as well.
  EXPECT_EQ(std::count_if(reduced.Rays.begin(), reduced.Rays.end(),
                          [](const PlanRay& r) { return r.Kind == PlanRayKind::Shot; }),
            2);
  EXPECT_NEAR(reduced.Bounds.MaxEast, 2100, 1e-6);
  EXPECT_NEAR(reduced.Bounds.MinNorth, 950, 1e-6);
}

TEST(PlanScene, PointsKeepTheirGridRowAndUnreadableOnesAreLeftOut) {
  WorkingData data;
  data.DataKind = DataKind::Coord;
  data.PointList = {test::Point("A", "", 1, 2, 0), test::Point("NAN", "", NAN, 2, 0), test::Point("C", "X", 5, 6, 0)};
  const PlanScene scene = BuildPlanScene(data, Settings{});
  ASSERT_EQ(scene.Points.size(), 2u);
  EXPECT_EQ(scene.Points[1].Row, 2u);
  EXPECT_EQ(scene.Points[1].Code, "X");
  EXPECT_EQ(scene.Bounds.MaxEast, 6);
  data.DataKind = DataKind::Code;
  EXPECT_TRUE(BuildPlanScene(data, Settings{}).Points.empty());
}

// n x n points one metre apart, north 0..n-1, east 0..n-1, rows in list order.
PlanScene Square(int n) {
  PlanScene scene;
  for (int i = 0; i < n * n; ++i) {
    PlanPoint p;
    p.North = i / n;
    p.East = i % n;
    p.Row = static_cast<std::size_t>(i);
    scene.Points.push_back(p);
    scene.Bounds.Add(p.North, p.East);
  }
  return scene;
}

TEST(PlanViewport, FitShowsTheWholeBoundsAndZoomKeepsThePointUnderThePointer) {
  const PlanScene scene = Square(11);
  const PlanViewport fit = FitPlan(scene.Bounds, 300, 200, 20, 60);
  // The north span (10 m) decides: 160 pixels.
  EXPECT_DOUBLE_EQ(fit.Scale, 16);
  const ScreenPoint low = fit.ToScreen(0, 0), high = fit.ToScreen(10, 10);
  EXPECT_DOUBLE_EQ(low.Y, 180);
  EXPECT_DOUBLE_EQ(high.Y, 20);
  EXPECT_GE(low.X, 20);
  EXPECT_LE(high.X, 300 - 20 - 60);

  const PlanViewport zoomed = ZoomPlan(fit, 2.5, 37, 91);
  double n0 = 0, e0 = 0, n1 = 0, e1 = 0;
  fit.ToPlane(37, 91, n0, e0);
  zoomed.ToPlane(37, 91, n1, e1);
  EXPECT_NEAR(n0, n1, 1e-9);
  EXPECT_NEAR(e0, e1, 1e-9);
  EXPECT_DOUBLE_EQ(zoomed.Scale, 40);
  const ScreenPoint before = fit.ToScreen(3, 4), after = PanPlan(fit, 15, -7).ToScreen(3, 4);
  EXPECT_NEAR(after.X - before.X, 15, 1e-9);
  EXPECT_NEAR(after.Y - before.Y, -7, 1e-9);
}

TEST(PlanViewport, NiceLengthsAreOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_DOUBLE_EQ(NiceLength(7.3), 5);
  EXPECT_DOUBLE_EQ(NiceLength(0.031), 0.02);
  EXPECT_DOUBLE_EQ(NiceLength(100), 100);
  EXPECT_DOUBLE_EQ(NiceLength(0), 0);
  EXPECT_DOUBLE_EQ(NiceLength(NAN), 0);
}

TEST(PlanIndex, TheVisibleSetIsExactlyThePointsInTheViewUntilTheyCrowd) {
  const PlanScene scene = Square(100);
  const PlanIndex index(scene);
  // 20 pixels a metre, centred on N 50.5, E 30.5: E 20.5..40.5 and N 45.5..55.5 show.
  PlanViewport view;
  view.CenterNorth = 50.5;
  view.CenterEast = 30.5;
  view.Scale = 20;
  view.Width = 400;
  view.Height = 200;
  const PlanVisibleSet near = SelectVisible(scene, index, view, 0);
  std::set<std::size_t> expected;
  for (int n = 46; n <= 55; ++n)
    for (int e = 21; e <= 40; ++e) expected.insert(static_cast<std::size_t>(n * 100 + e));
  EXPECT_EQ(std::set<std::size_t>(near.Points.begin(), near.Points.end()), expected);
  EXPECT_FALSE(near.Thinned);
  EXPECT_TRUE(near.Labels);

  // The whole square in 100 x 100 pixels: one point per few pixels, no labels, but a
  // station among them is always drawn.
  PlanScene crowded = Square(100);
  crowded.Points[5555].Marks = PlanMarkStation;
  const PlanIndex crowdedIndex(crowded);
  const PlanVisibleSet far = SelectVisible(crowded, crowdedIndex, FitPlan(crowded.Bounds, 100, 100, 0), 0);
  EXPECT_TRUE(far.Thinned);
  EXPECT_FALSE(far.Labels);
  EXPECT_LE(far.Points.size(), std::size_t{(100 / PlanThinCell + 1) * (100 / PlanThinCell + 1)});
  EXPECT_GT(far.Points.size(), 500u);
  EXPECT_EQ(far.Points.front(), 5555u);
}

TEST(PlanIndex, AClickFindsTheNearestPointWithinTheTolerance) {
  PlanScene scene = Square(10);
  const PlanIndex index(scene);
  const PlanViewport view = FitPlan(scene.Bounds, 200, 200, 10);  // 20 pixels a metre
  const ScreenPoint p = view.ToScreen(3, 7);
  EXPECT_EQ(HitTest(scene, index, view, p.X + 4, p.Y - 3), std::optional<std::size_t>(37));
  EXPECT_EQ(HitTest(scene, index, view, p.X + 12, p.Y), std::nullopt);
  EXPECT_EQ(HitTest(scene, index, view, -50, -50), std::nullopt);
  // An index of nothing finds nothing.
  EXPECT_EQ(HitTest(scene, PlanIndex(), view, p.X, p.Y), std::nullopt);
}

}  // namespace
}  // namespace theolink
