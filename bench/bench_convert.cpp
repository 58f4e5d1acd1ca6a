// Converts a generated job of 100,000 records and a list of 100,000 points to every format
// with theolink-cli convert, and prints each run's wall time and peak memory.
//   bench_convert [path/to/theolink-cli] [work directory]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 100000;
constexpr int kPoints = 100000;

std::string Metres(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", v);  // generator only; the C locale is in force
  return buffer;
}

// Ten records per round: STA, BS joined with its BSS shot, three SD, three SC, SA, NOTE.
void WriteJob(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "JOB     BENCH\r\nINST    GENERATOR\r\n";
  for (int round = 0; round < kRecords / 10; ++round) {
    const double e = 1000 + round * 0.5, n = 2000 + round * 0.25;
    const std::string id = std::to_string(round);
    out << "STA     S" << id << ",1.5000,STN\r\nXYZ     " << Metres(e) << ',' << Metres(n) << ",50.0000\r\n";
    out << "BS      B" << id << ",1.6000\r\nHVD     0,324000,120.5000\r\n";
    out << "SC      B" << id << ",1.6000,BSS\r\nENZ     " << Metres(e + 100) << ',' << Metres(n + 50) << ",51.2000\r\n";
    for (int k = 0; k < 3; ++k)
      out << "SD      D" << id << '_' << k << ",1.5000,WALL\r\nHVD     " << (round * 37 + k * 1000) % 1296000
          << ',' << 300000 + k * 7000 << ',' << Metres(10 + k * 3.3) << "\r\n";
    for (int k = 0; k < 3; ++k) {
      out << "SC      C" << id << '_' << k << ",1.3000,TREE\r\n";
      if (k == 1) out << "HVD     162000,327600,22.3610\r\n";
      out << "ENZ     " << Metres(e + k) << ',' << Metres(n - k) << ",49.5000\r\n";
    }
    out << "SA      A" << id << ",1.2000,\r\nHV      648000,324000\r\n";
    out << "NOTE    round " << id << "\r\n";
  }
}

void WritePoints(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < kPoints; ++i)
    out << 'P' << i << ",T" << i % 50 << ',' << Metres(500000 + i * 0.125) << ',' << Metres(3000000 + i * 0.375)
        << ',' << Metres(100 + (i % 1000) * 0.01) << "\r\n";
}

struct Measure {
  int Status;
  double Seconds;
  double CpuSeconds;  // user + system: what the run costs when the machine is shared
  long MaxRssKb;
};

Measure RunChild(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, seconds, cpu, usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path cli = argc > 1 ? fs::path(argv[1]) : fs::path(argv[0]).parent_path() / "theolink-cli";
  const fs::path dir = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "theolink_bench_convert";
  fs::create_directories(dir);
  const fs::path job = dir / "job.wkj", points = dir / "points.dat";
  WriteJob(job);
  WritePoints(points);
  std::printf("input: %d-record job (%ju bytes), %d-point CASS list (%ju bytes)\n", kRecords,
              static_cast<std::uintmax_t>(fs::file_size(job)), kPoints, static_cast<std::uintmax_t>(fs::file_size(points)));

  struct Case {
    const fs::path& Input;
    const char* Format;
    const char* Output;
  };
  const Case cases[] = {{job, "csv", "job.csv"},        {job, "cass", "job.dat"},         {job, "dxf", "job.dxf"},
                        {job, "gt7-hd", "hd.gt7"},      {job, "gt7-sd", "sd.gt7"},        {job, "gt7-all", "all.gt7"},
                        {job, "gts7-coord", "job.txt"}, {job, "wkj", "job_out.wkj"},      {points, "cass", "pts.dat"},
                        {points, "dxf", "pts.dxf"},     {points, "gts7-coord", "pts.txt"}};
  std::printf("%-10s %-11s %8s %8s %9s %12s\n", "input", "format", "wall s", "cpu s", "peak MB", "output bytes");
  int failures = 0;
  for (const Case& c : cases) {
    const fs::path out = dir / c.Output;
    const Measure m =
        RunChild({cli.string(), "convert", c.Input.string(), out.string(), "--to", c.Format, "--overwrite"});
    if (m.Status != 0) ++failures;
    std::printf("%-10s %-11s %8.3f %8.3f %9.1f %12ju%s\n", c.Input.filename().c_str(), c.Format, m.Seconds,
                m.CpuSeconds, m.MaxRssKb / 1024.0, static_cast<std::uintmax_t>(fs::exists(out) ? fs::file_size(out) : 0),
                m.Status != 0 ? "  FAILED" : "");
  }
  fs::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
