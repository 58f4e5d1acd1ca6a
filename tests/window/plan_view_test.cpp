// The plan beside the views: the picture of the sample job, a click that selects the grid
// row (and the reverse), a drag that pans, and the picture saved and printed.
#include <QImage>
#include <QProcess>
#include <QTableView>
#include <cmath>

#include "files/file_open.h"
#include "files/line_loaders.h"
#include "files/plan_viewport.h"
#include "window/plan_painter.h"
#include "window/plan_panel.h"
#include "window/plan_view.h"
#include "window/window_test_support.h"

namespace theolink::test {
namespace {

const std::string kSamples = THEOLINK_SAMPLES;

bool Near(QColor a, const QColor& b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

// Any pixel within a pixel of (x, y) has the colour.
bool ColourAround(const QImage& image, double x, double y, const QColor& colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const QPoint p(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
      if (image.valid(p) && Near(image.pixelColor(p), colour)) return true;
    }
  return false;
}

// Plan pressed, and the plan made of the data.
void ShowPlan(TForm1& form) {
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("PlanBtn")), Qt::LeftButton);
  const PlanView& view = form.Plan().View();
  QTRY_VERIFY_WITH_TIMEOUT(view.Scene() != nullptr && !view.Scene()->Points.empty(), 10000);
}

// The program itself, run as "theolink --screenshot PNG --plan samples/sample.wkj" from a
// build folder of its own, so that no settings file of the developer's is read.
TEST_F(WindowFixture, ThePictureOfTheSampleJobShowsEveryPointAndTheBacksightRay) {
  std::filesystem::copy_file(std::string(THEOLINK_BIN_DIR) + "/theolink", File("bin/theolink"));
  WriteHelp();
  const std::string picture = File("plan.png");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("HOME"), QString::fromStdString(dir_));
  program.setProcessEnvironment(environment);
  program.start(QString::fromStdString(File("bin/theolink")),
                {QStringLiteral("--screenshot"), QString::fromStdString(picture), QStringLiteral("--plan"),
                 QString::fromStdString(kSamples + "/sample.wkj")});
  ASSERT_TRUE(program.waitForFinished(60000));
  ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  const QImage image(QString::fromStdString(picture));
  ASSERT_EQ(image.size(), QSize(900, 650));

  // Where the job's points must be: its stations, backsight points and stored shots,
  // fitted as the plan fits them.
  WorkingData job;
  OpenDataFile(job, kSamples + "/sample.wkj", Settings{});
  std::vector<PointRecord> points;
  ExtractCoordPoints(job.MeasurementList, points);
  // ST1, its backsight ST2, P4, P5, P6, ST2 set up, P9 (the backsight ST1 has no coordinates).
  ASSERT_EQ(points.size(), 7u);
  PlanBounds bounds;
  for (const PointRecord& p : points) bounds.Add(p.North, p.East);
  const PlanViewport view = FitPlan(bounds, 900, 650, PlanView::FitMargin, PlanView::LabelRoom);
  for (const PointRecord& p : points) {
    SCOPED_TRACE(std::string(p.Name.View()));
    const ScreenPoint s = view.ToScreen(p.North, p.East);
    ASSERT_TRUE(s.X >= 0 && s.Y >= 0 && s.X < 900 && s.Y < 650);
    EXPECT_TRUE(ColourAround(image, s.X, s.Y, PlanPointColor) || ColourAround(image, s.X, s.Y, PlanStationColor) ||
                ColourAround(image, s.X, s.Y, PlanBacksightRayColor))
        << "no mark at " << s.X << ", " << s.Y;
  }
  // ST1 to its backsight ST2, all along.
  const ScreenPoint from = view.ToScreen(18422.5678, 52314.1234), to = view.ToScreen(18422.4420, 52398.3451);
  for (double t : {0.2, 0.35, 0.5, 0.65, 0.8}) {
    EXPECT_TRUE(ColourAround(image, from.X + t * (to.X - from.X), from.Y + t * (to.Y - from.Y), PlanBacksightRayColor))
        << "no ray at " << t;
  }
  // And nothing blue where no ray runs: halfway between the ray and the picture's bottom.
  EXPECT_FALSE(ColourAround(image, (from.X + to.X) / 2, (from.Y + 650) / 2, PlanBacksightRayColor));
}

TEST_F(WindowFixture, AClickOnAPointSelectsItsGridRowAndAGridRowHighlightsItsPoint) {
  TForm1& form = Start();
  OpenFile(kSamples + "/sample_points.dat");
  ShowPlan(form);
  PlanView& plan = form.Plan().View();
  ASSERT_NE(plan.Scene(), nullptr);
  ASSERT_EQ(plan.Scene()->Points.size(), form.Data().PointList.size());
  const PointRecord& third = form.Data().PointList[2];
  const ScreenPoint at = plan.Viewport().ToScreen(third.North, third.East);
  QTest::mouseClick(&plan, Qt::LeftButton, Qt::NoModifier, QPoint(static_cast<int>(at.X), static_cast<int>(at.Y)));
  EXPECT_EQ(Grid()->currentIndex().row(), 2);
  EXPECT_TRUE(Grid()->selectionModel()->isRowSelected(2, {}));

  // A drag pans the plan and selects nothing.
  const PlanViewport before = plan.Viewport();
  QTest::mousePress(&plan, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  QTest::mouseMove(&plan, QPoint(70, 60));
  QTest::mouseMove(&plan, QPoint(90, 80));
  QTest::mouseRelease(&plan, Qt::LeftButton, Qt::NoModifier, QPoint(90, 80));
  EXPECT_NEAR(plan.Viewport().ToScreen(third.North, third.East).X - at.X, 40, 1e-6);
  EXPECT_NE(plan.Viewport().CenterEast, before.CenterEast);
  EXPECT_EQ(Grid()->currentIndex().row(), 2);

  Grid()->setCurrentIndex(Grid()->model()->index(4, 1));
  ASSERT_TRUE(plan.SelectedPoint().has_value());
  EXPECT_EQ(plan.Scene()->Points[*plan.SelectedPoint()].Row, 4u);
  Click("FitAllBtn");
  EXPECT_DOUBLE_EQ(plan.Viewport().CenterEast, before.CenterEast);
  QTest::keyClick(&plan, Qt::Key_Plus);
  EXPECT_DOUBLE_EQ(plan.Viewport().Scale, before.Scale * 1.25);
}

TEST_F(WindowFixture, ThePlanSavesAsPngAndSvgAndPrintsToPdf) {
  TForm1& form = Start();
  OpenFile(kSamples + "/sample_points.dat");
  ShowPlan(form);
  PlanView& plan = form.Plan().View();
  // The filter's second entry with a name that says nothing: SVG.
  ChooseFile(File("plan-drawing"), 2);
  Click("SavePlanBtn");
  const std::string svg = ReadBytes(File("plan-drawing"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("KZD"), std::string::npos);  // a label, as text
  ChooseFile(File("plan.png"), 2);
  Click("SavePlanBtn");
  EXPECT_EQ(QImage(QString::fromStdString(File("plan.png"))).size(), plan.size());
  ASSERT_EQ(dialogs_.notices.size(), 2u);
  EXPECT_TRUE(dialogs_.notices.back().contains(QStringLiteral("plan.png")));
  // Into a folder that is not there: said so, and nothing claims success.
  ChooseFile(File("missing/plan.png"), 1);
  Click("SavePlanBtn");
  ASSERT_EQ(dialogs_.notices.size(), 3u);
  EXPECT_TRUE(dialogs_.notices.back().startsWith(QStringLiteral("The plan could not be saved")));

  dialogs_.printToPdf = File("plan.pdf");
  Click("PrintPlanBtn");
  EXPECT_EQ(ReadBytes(File("plan.pdf")).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace theolink::test
