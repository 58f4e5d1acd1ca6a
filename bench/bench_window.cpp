// Opens and shows a generated 100,000-record job and a 100,000-point coordinate list in
// the window on the off-screen platform; prints the time until the view is filled (open,
// load, fill and one paint) and the peak memory of each run.
//   bench_window            runs both cases, each in its own process
//   bench_window job|points runs one case and prints its time
// BENCH_SPLIT=1 also prints the lower layers' share; BENCH_KEEP=1 only writes the files.
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QPixmap>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/data_views.h"
#include "files/file_open.h"
#include "bench_window_context.h"
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

int RunCase(const std::string& which, const fs::path& dir) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "bench_window";
  char* argv[] = {name, nullptr};
  theolink::TheolinkApplication app(argc, argv);
  theolink::ConsoleDialogs dialogs;
  theolink::TForm1 form(bench::BenchWindowContext(dir, dialogs));
  form.show();
  app.processEvents();
  const fs::path file = dir / (which == "job" ? "job.wkj" : "points.dat");
  if (getenv("BENCH_SPLIT") != nullptr) {
    // The share of the lower layers: loading and the text view's lines.
    QElapsedTimer t;
    t.start();
    theolink::WorkingData data;
    theolink::OpenDataFile(data, file.string(), theolink::Settings{});
    std::fprintf(stderr, "  load only: %.3f s\n", static_cast<double>(t.nsecsElapsed()) / 1e9);
    t.restart();
    const auto lines = theolink::MeasureTextLines(data, theolink::Settings{});
    std::fprintf(stderr, "  text lines: %.3f s\n", static_cast<double>(t.nsecsElapsed()) / 1e9);
  }
  QElapsedTimer timer;
  timer.start();
  form.OpenPath(file.string());
  form.grab();  // lays out and paints the filled view once
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  std::printf("%.3f\n", seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path dir = fs::temp_directory_path() / "theolink-bench-window";
  if (argc > 1) return RunCase(argv[1], dir);
  fs::create_directories(dir);
  WriteJob(dir / "job.wkj");
  WritePoints(dir / "points.dat");
  if (getenv("BENCH_KEEP") != nullptr) return 0;
  for (const char* which : {"job", "points"}) {
    int pipefd[2];
    if (::pipe(pipefd) != 0) return 1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(pipefd[1], STDOUT_FILENO);
      ::execl("/proc/self/exe", argv[0], which, static_cast<char*>(nullptr));
      _exit(127);
    }
    ::close(pipefd[1]);
    char buffer[64] = {};
    const ssize_t n = ::read(pipefd[0], buffer, sizeof buffer - 1);
    ::close(pipefd[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    std::printf("%-7s 100000 %-8s open and show: %s s, peak memory %.1f MB\n", which,
                std::string(which) == "job" ? "records" : "points", n > 0 ? std::string(buffer, static_cast<std::size_t>(n) - 1).c_str() : "?",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
  }
  fs::remove_all(dir);
  return 0;
}
