// Converts a generated job of 100,000 records and a list of 100,000 points to every format
// with theolink-cli convert, and prints each run's wall time and peak memory. The formats for
// other software (LandXML, GeoJSON, KML, CSV with a header) run beside the CASS export.
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

#include "bench_jobs.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 100000;
constexpr int kPoints = 100000;

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
  bench::WriteKeywordJob(job, kRecords);
  bench::WritePoints(points, kPoints);
  std::printf("input: %d-record job (%ju bytes), %d-point CASS list (%ju bytes)\n", kRecords,
              static_cast<std::uintmax_t>(fs::file_size(job)), kPoints, static_cast<std::uintmax_t>(fs::file_size(points)));

  struct Case {
    const fs::path& Input;
    const char* Format;
    const char* Output;
    const char* System = nullptr;  // --crs
  };
  const Case cases[] = {{job, "csv", "job.csv"},        {job, "cass", "job.dat"},         {job, "dxf", "job.dxf"},
                        {job, "gt7-hd", "hd.gt7"},      {job, "gt7-sd", "sd.gt7"},        {job, "gt7-all", "all.gt7"},
                        {job, "gts7-coord", "job.txt"}, {job, "wkj", "job_out.wkj"},      {points, "cass", "pts.dat"},
                        {points, "dxf", "pts.dxf"},     {points, "gts7-coord", "pts.txt"},
                        {points, "landxml", "pts.xml"}, {points, "geojson", "pts.geojson", "EPSG:4547"},
                        {points, "kml", "pts.kml", "EPSG:4547"}, {points, "gis-csv", "pts.csv"},
                        {job, "landxml", "job.xml"},    {job, "geojson", "job.geojson", "EPSG:4547"},
                        {job, "kml", "job.kml", "EPSG:4547"}, {job, "gis-csv", "job_points.csv"}};
  std::printf("%-10s %-11s %8s %8s %9s %12s\n", "input", "format", "wall s", "cpu s", "peak MB", "output bytes");
  int failures = 0;
  for (const Case& c : cases) {
    const fs::path out = dir / c.Output;
    std::vector<std::string> args = {cli.string(), "convert", c.Input.string(), out.string(), "--to", c.Format,
                                      "--overwrite"};
    if (c.System != nullptr) args.insert(args.end(), {"--crs", c.System});
    const Measure m = RunChild(args);
    if (m.Status != 0) ++failures;
    std::printf("%-10s %-11s %8.3f %8.3f %9.1f %12ju%s\n", c.Input.filename().c_str(), c.Format, m.Seconds,
                m.CpuSeconds, m.MaxRssKb / 1024.0, static_cast<std::uintmax_t>(fs::exists(out) ? fs::file_size(out) : 0),
                m.Status != 0 ? "  FAILED" : "");
  }
  fs::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
