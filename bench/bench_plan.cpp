// The plan view with 100,000 points: the time to make the scene and its index, and per
// frame the time to draw the whole plan (fit all), to pan it, and to pan at a zoom where a
// few hundred points show with their labels; each frame paints a 1200 x 800 picture as
// the canvas does. A job of 10,000 stations with shots reduced draws its rays as well.
//   bench_plan            both cases
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "files/plan_index.h"
#include "files/plan_scene.h"
#include "files/plan_viewport.h"
#include "window/plan_painter.h"

namespace {

using namespace theolink;

MeasureRecord StationAt(int i, double north, double east) {
  MeasureRecord r;
  r.Kind = KindStation;
  r.Station = StationBody{NameText("S" + std::to_string(i)), NameText("STN"), 1.5, east, north, 50};
  return r;
}

WorkingData Points(std::size_t count) {
  WorkingData data;
  data.DataKind = DataKind::Coord;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> across(0, 3000);
  for (std::size_t i = 0; i < count; ++i) {
    PointRecord p;
    p.Name = NameText("P" + std::to_string(i));
    p.Code = NameText("CODE");
    p.North = 20000 + across(random);
    p.East = 50000 + across(random);
    data.PointList.push_back(p);
  }
  return data;
}

// Stations along a road, each oriented on the one before and with nine shots around it.
WorkingData Job(int stations) {
  WorkingData data;
  for (int s = 0; s < stations; ++s) {
    const double north = 20000 + s * 3.0, east = 50000 + (s % 100) * 30.0;
    data.MeasurementList.push_back(StationAt(s, north, east));
    MeasureRecord bs;
    bs.Kind = KindBacksight;
    bs.Backsight = BacksightBody{NameText("B"), 1.5, 0, 90, 0, 1, north + 100, east, 50};
    data.MeasurementList.push_back(bs);
    for (int k = 0; k < 9; ++k) {
      MeasureRecord shot;
      shot.Kind = KindSlopeShot;
      shot.SlopeShot = SlopeShotBody{NameText("D" + std::to_string(s) + "_" + std::to_string(k)), NameText("WALL"), 1.5,
                                     k * 40.0, 90, 5.0 + k};
      data.MeasurementList.push_back(shot);
    }
  }
  return data;
}

double FrameMs(const PlanScene& scene, const PlanIndex& index, const PlanViewport& view, QImage& image) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(&image);
  PlanPaint paint;
  paint.Scene = &scene;
  paint.Index = &index;
  paint.View = view;
  paint.ResidualCaption = QStringLiteral("Residuals");
  PaintPlan(painter, paint);
  painter.end();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Twenty frames, each panned 15 pixels further; the mean and the worst.
void Pan(const char* what, const PlanScene& scene, const PlanIndex& index, PlanViewport view, QImage& image) {
  double total = 0, worst = 0;
  std::size_t shown = 0;
  for (int frame = 0; frame < 20; ++frame) {
    view = PanPlan(view, 15, 10);
    const double ms = FrameMs(scene, index, view, image);
    total += ms;
    worst = std::max(worst, ms);
    shown = SelectVisible(scene, index, view).Points.size();
  }
  std::printf("  %-28s %7.2f ms a frame (worst %.2f), %zu points drawn\n", what, total / 20, worst, shown);
}

void Run(const char* what, const WorkingData& data, const Settings& settings) {
  QElapsedTimer timer;
  timer.start();
  const PlanScene scene = BuildPlanScene(data, settings);
  const double sceneMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  timer.restart();
  const PlanIndex index(scene);
  const double indexMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  std::printf("%s: %zu points, %zu rays; scene %.1f ms, index %.1f ms\n", what, scene.Points.size(), scene.Rays.size(),
              sceneMs, indexMs);
  QImage image(1200, 800, QImage::Format_RGB32);
  const PlanViewport fit = FitPlan(scene.Bounds, image.width(), image.height(), 40, 100);
  FrameMs(scene, index, fit, image);  // the first paint loads the fonts
  std::printf("  %-28s %7.2f ms\n", "draw all (fit)", FrameMs(scene, index, fit, image));
  Pan("pan at fit all", scene, index, fit, image);
  Pan("pan zoomed in (labels)", scene, index, ZoomPlan(fit, 24, 600, 400), image);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  Run("100,000 points", Points(100000), Settings{});
  Settings reduce;
  reduce.ComputeShots = true;
  Run("job of 10,000 stations, shots reduced", Job(10000), reduce);
  return 0;
}
