// The grid editor on a 100,000-point coordinate list, on the off-screen platform: the time
// of Append, Insert and Delete near the top (each followed by one paint of the window),
// of undoing them, of a name typed (its duplicates looked up), and of Return writing all
// rows back after a change.
#include <stdlib.h>

#include <QElapsedTimer>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_window_context.h"
#include "window/dialogs.h"
#include "window/grid_model.h"
#include "window/main_form.h"
#include "window/theolink_application.h"

namespace {

namespace fs = std::filesystem;

// Answers every question with yes and drops notices.
class YesDialogs final : public theolink::Dialogs {
 public:
  void ShowNotice(const QString&, const QString&) override {}
  bool AskOkCancel(const QString&, const QString&) override { return true; }
  bool AskYesNo(const QString&, const QString&) override { return true; }
  std::optional<theolink::FileChoice> OpenFile(const std::string&, const QString&) override { return std::nullopt; }
  std::optional<theolink::FileChoice> SaveFile(const std::string&, const QString&) override { return std::nullopt; }
};

template <typename F>
double Seconds(theolink::TForm1& form, F&& step) {
  QElapsedTimer timer;
  timer.start();
  step();
  form.grab();
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  theolink::TheolinkApplication app(argc, argv);
  const fs::path dir = fs::temp_directory_path() / "theolink-bench-grid";
  fs::create_directories(dir);
  {
    std::ofstream out(dir / "points.dat", std::ios::binary);
    for (int i = 0; i < 100000; ++i)
      out << 'P' << i << ",T" << i % 50 << ',' << 500000 + i * 0.125 << ',' << 3000000 + i * 0.375 << ",100.5\r\n";
  }
  YesDialogs dialogs;
  theolink::TForm1 form(bench::BenchWindowContext(dir, dialogs));
  form.show();
  app.processEvents();
  form.OpenPath((dir / "points.dat").string());
  while (form.FileWorkPending()) app.processEvents(QEventLoop::AllEvents, 20);
  form.CoordBtnClick();
  auto* grid = form.findChild<QTableView*>(QStringLiteral("StrGrid"));
  const auto second = [&] { grid->setCurrentIndex(grid->model()->index(1, 1)); };
  form.grab();
  std::printf("rows %d\n", grid->model()->rowCount());
  std::printf("Append at the bottom:     %.4f s\n", Seconds(form, [&] { form.AppendBtnClick(); }));
  std::printf("Insert at row 2:          %.4f s\n", Seconds(form, [&] { second(); form.InsertBtnClick(); }));
  std::printf("Delete row 2:             %.4f s\n", Seconds(form, [&] { second(); form.DelBtnClick(); }));
  std::printf("Paste 3 rows at row 2:    %.4f s\n",
              Seconds(form, [&] { second(); form.PasteIntoGrid(QStringLiteral("A\t1\t2\t3\nB\t4\t5\t6\nC\t7\t8\t9")); }));
  std::printf("Undo the paste:           %.4f s\n", Seconds(form, [&] { form.Grid().Undo(); }));
  std::printf("Undo the delete:          %.4f s\n", Seconds(form, [&] { form.Grid().Undo(); }));
  std::printf("A name typed at row 3:    %.4f s\n",
              Seconds(form, [&] { form.Grid().setData(form.Grid().index(2, 1), QStringLiteral("P7"), Qt::EditRole); }));
  std::printf("Return writing %d rows: %.4f s\n", grid->model()->rowCount(), Seconds(form, [&] { form.OKBtnClick(); }));
  std::printf("points after Return: %zu\n", form.Data().PointList.size());
  fs::remove_all(dir);
  return 0;
}
