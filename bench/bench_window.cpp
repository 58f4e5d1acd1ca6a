// Opens and shows a generated 100,000-record job and a 100,000-point coordinate list in
// the window on the off-screen platform, then saves each; prints the time until the view is
// filled (open, load, fill and one paint), the longest the window's thread was blocked
// meanwhile (the worst lateness of a 10 ms timer), and the peak memory of each run.
//   bench_window            runs both cases, each in its own process
//   bench_window --huge     adds a 300 MB keyword job (4.5 million records) and a 300 MB
//                           coordinate list (6.3 million points)
//   bench_window job|points|huge|hugepoints   runs one case and prints its figures
// BENCH_SPLIT=1 also prints the lower layers' share; BENCH_KEEP=1 only writes the files.
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench_jobs.h"
#include "bench_window_context.h"
#include "files/data_views.h"
#include "files/file_open.h"
#include "window/dialogs.h"
#include "window/main_form.h"
#include "window/theolink_application.h"

namespace {

namespace fs = std::filesystem;

std::string Metres(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", v);
  return buffer;
}

void WriteJob(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "JOB     BENCH\r\nINST    GENERATOR\r\n";
  for (int round = 0; round < 10000; ++round) {  // ten records per round
    const double e = 1000 + round * 0.5, n = 2000 + round * 0.25;
    const std::string id = std::to_string(round);
    out << "STA     S" << id << ",1.5000,STN\r\nXYZ     " << Metres(e) << ',' << Metres(n) << ",50.0000\r\n";
    for (int k = 0; k < 5; ++k)
      out << "SD      D" << id << '_' << k << ",1.5000,WALL\r\nHVD     " << (round * 37 + k * 1000) % 1296000 << ','
          << 300000 + k * 7000 << ',' << Metres(10 + k * 3.3) << "\r\n";
    for (int k = 0; k < 3; ++k)
      out << "SC      C" << id << '_' << k << ",1.3000,TREE\r\nENZ     " << Metres(e + k) << ',' << Metres(n - k)
          << ",49.5000\r\n";
    out << "NOTE    round " << id << "\r\n";
  }
}

void WritePoints(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < 100000; ++i)
    out << 'P' << i << ",T" << i % 50 << ',' << Metres(500000 + i * 0.125) << ',' << Metres(3000000 + i * 0.375) << ','
        << Metres(100 + (i % 1000) * 0.01) << "\r\n";
}

// Save answers with a file in the bench folder, in the first filter of the mode.
class SaveDialogs final : public theolink::Dialogs {
 public:
  explicit SaveDialogs(std::string path) : path_(std::move(path)) {}
  void ShowNotice(const QString& text, const QString&) override { std::fprintf(stderr, "notice: %s\n", qPrintable(text)); }
  bool AskOkCancel(const QString&, const QString&) override { return true; }
  bool AskYesNo(const QString&, const QString&) override { return true; }
  std::optional<theolink::FileChoice> OpenFile(const std::string&, const QString&) override { return std::nullopt; }
  std::optional<theolink::FileChoice> SaveFile(const std::string&, const QString&) override {
    return theolink::FileChoice{path_, 1};
  }

 private:
  std::string path_;
};

double Seconds(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e9; }

// Runs step on the window's thread, then lets the event loop run until the file work has
// ended and the window is painted; the seconds that took and the worst lateness of a 10 ms
// timer meanwhile, which is the longest the window could not react.
struct Figures {
  double seconds = 0, blockedMs = 0;
};
Figures Measure(theolink::TheolinkApplication& app, theolink::TForm1& form, const std::function<void()>& step) {
  QElapsedTimer since, total;
  double worst = 0;
  QTimer tick;
  tick.setInterval(10);
  tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    worst = std::max(worst, static_cast<double>(since.nsecsElapsed()) / 1e6 - 10);
    since.restart();
  });
  since.start();
  total.start();
  tick.start();
  step();
  while (form.FileWorkPending()) app.processEvents(QEventLoop::WaitForMoreEvents);
  form.grab();  // lays out and paints the filled view once
  // The paint blocks the thread too; the next tick measures it.
  app.processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = Seconds(total);
  worst = std::max(worst, static_cast<double>(since.nsecsElapsed()) / 1e6 - 10);
  return {seconds, std::max(worst, 0.0)};
}

int RunCase(const std::string& which, const fs::path& dir) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "bench_window";
  char* argv[] = {name, nullptr};
  theolink::TheolinkApplication app(argc, argv);
  const fs::path file = dir / (which == "job"          ? "job.wkj"
                               : which == "huge"       ? "job300M.wkj"
                               : which == "hugepoints" ? "points300M.dat"
                                                       : "points.dat");
  const fs::path saved = dir / "saved.out";
  SaveDialogs dialogs(saved.string());
  theolink::TForm1 form(bench::BenchWindowContext(dir, dialogs));
  form.show();
  app.processEvents();
  if (getenv("BENCH_SPLIT") != nullptr) {
    // The share of the lower layers: loading and the text view's lines.
    QElapsedTimer t;
    t.start();
    theolink::WorkingData data;
    theolink::OpenDataFile(data, file.string(), theolink::Settings{});
    std::fprintf(stderr, "  load only: %.3f s\n", Seconds(t));
    t.restart();
    const auto lines = theolink::MeasureTextView(data, theolink::Settings{});
    std::fprintf(stderr, "  text lines: %.3f s\n", Seconds(t));
  }
  const Figures open = Measure(app, form, [&] { form.OpenPath(file.string()); });
  const Figures save = Measure(app, form, [&] {
    fs::remove(saved);
    form.SaveBtnClick();
  });
  // Units changed in the settings dialog refill the views on the window's thread.
  QElapsedTimer refresh;
  refresh.start();
  form.InitDataShowView();
  form.RefleshDataShowView();
  form.grab();
  const double refreshed = Seconds(refresh);
  std::printf("open and show %.3f s (window blocked at most %.0f ms), save %.3f s (at most %.0f ms), views refilled %.3f s\n",
              open.seconds, open.blockedMs, save.seconds, save.blockedMs, refreshed);
  fs::remove(saved);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path dir = fs::temp_directory_path() / "theolink-bench-window";
  const bool huge = argc > 1 && std::string(argv[1]) == "--huge";
  if (argc > 1 && !huge) return RunCase(argv[1], dir);
  fs::create_directories(dir);
  WriteJob(dir / "job.wkj");
  WritePoints(dir / "points.dat");
  if (huge) {
    bench::WriteKeywordJob(dir / "job300M.wkj", 4'500'000);
    bench::WritePoints(dir / "points300M.dat", 6'300'000);
  }
  if (getenv("BENCH_KEEP") != nullptr) return 0;
  struct Case {
    const char* which;
    const char* what;
  };
  std::vector<Case> cases = {{"job", "100000 records"}, {"points", "100000 points"}};
  if (huge) {
    cases.push_back({"huge", "300 MB job (4.5M records)"});
    cases.push_back({"hugepoints", "300 MB list (6.3M points)"});
  }
  for (const Case& c : cases) {
    int pipefd[2];
    if (::pipe(pipefd) != 0) return 1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(pipefd[1], STDOUT_FILENO);
      ::execl("/proc/self/exe", argv[0], c.which, static_cast<char*>(nullptr));
      _exit(127);
    }
    ::close(pipefd[1]);
    std::string figures;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipefd[0], buffer, sizeof buffer)) > 0;) figures.append(buffer, static_cast<std::size_t>(n));
    ::close(pipefd[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!figures.empty() && figures.back() == '\n') figures.pop_back();
    std::printf("%-26s %s, peak memory %.1f MB\n", c.what, figures.empty() ? "?" : figures.c_str(),
                static_cast<double>(usage.ru_maxrss) / 1024.0);
  }
  fs::remove_all(dir);
  return 0;
}
