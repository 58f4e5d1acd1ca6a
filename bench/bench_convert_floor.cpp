// theolink-cli convert against the raw-I/O floor of the same run: for each input (.wkj and
// binary .job jobs, CASS point lists; 100k and 1M) and each format, the best wall time of a
// few runs, the peak memory, and the ratio to the floor. The floor reads the input whole
// and writes a file of the output's size the way a save does (temporary file, fsync,
// rename), in a child process like the convert itself. Binary jobs are also dumped, whose
// memory must not grow with the file.
//   bench_convert_floor [path/to/theolink-cli] [work directory] [--quick] [--huge]
// --quick leaves out the 1M cases; --huge adds 300 MB jobs (.wkj and binary .job), run once.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_jobs.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 3;

// A binary .job (112-byte header and records): stations, backsights and shots of every kind.
void WriteBinaryJob(const fs::path& path, int records) {
  std::ofstream out(path, std::ios::binary);
  out << std::string(112, '\0');
  static constexpr int kTypes[] = {1, 2, 4, 4, 7, 7, 3, 6, 4, 8};
  for (int i = 0; i < records; ++i) out << bench::BinaryJobRecord(i, kTypes[i % 10]);
}

struct Measure {
  int Status = 0;
  double Seconds = 0;
  long MaxRssKb = 0;
};

Measure RunChild(const std::function<int()>& body) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, seconds, usage.ru_maxrss};
}

Measure Best(const std::function<int()>& body, int runs) {
  Measure best;
  for (int run = 0; run < runs; ++run) {
    const Measure m = RunChild(body);
    if (run == 0 || m.Seconds < best.Seconds) best.Seconds = m.Seconds;
    best.MaxRssKb = std::max(best.MaxRssKb, m.MaxRssKb);
    if (m.Status != 0) best.Status = m.Status;
  }
  return best;
}

// Read the input whole, write size bytes to a temporary file, fsync, rename.
int Floor(const fs::path& input, const fs::path& output, std::uintmax_t size) {
  std::vector<char> buffer(1 << 16);
  const int in = open(input.c_str(), O_RDONLY);
  if (in < 0) return 1;
  std::string bytes;
  for (ssize_t n; (n = read(in, buffer.data(), buffer.size())) > 0;) bytes.append(buffer.data(), static_cast<std::size_t>(n));
  close(in);
  const std::string temporary = output.string() + ".floor.tmp";
  const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0) return 1;
  std::fill(buffer.begin(), buffer.end(), 'x');
  for (std::uintmax_t left = size; left > 0;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(left, buffer.size()));
    if (write(out, buffer.data(), n) != static_cast<ssize_t>(n)) return 1;
    left -= n;
  }
  if (fsync(out) != 0 || close(out) != 0) return 1;
  return std::rename(temporary.c_str(), output.c_str()) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path cli = argc > 1 ? fs::path(argv[1]) : fs::path(argv[0]).parent_path() / "theolink-cli";
  const fs::path dir = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "theolink_bench_floor";
  bool quick = false, huge = false;
  for (int i = 3; i < argc; ++i) {
    quick = quick || std::string(argv[i]) == "--quick";
    huge = huge || std::string(argv[i]) == "--huge";
  }
  fs::create_directories(dir);

  struct Input {
    std::string Name;
    std::vector<std::string> Formats;
    int Runs = kRuns;
  };
  const std::vector<std::string> jobFormats = {"csv", "cass", "dxf", "gt7-hd", "gt7-sd", "gt7-all", "gts7-coord", "wkj"};
  std::vector<std::string> binaryFormats = jobFormats;
  binaryFormats.push_back("dump");
  std::vector<Input> inputs;
  for (const int count : {100000, 1000000}) {
    if (quick && count > 100000) continue;
    const std::string tag = count == 100000 ? "100k" : "1M";
    bench::WriteKeywordJob(dir / ("job" + tag + ".wkj"), count);
    WriteBinaryJob(dir / ("job" + tag + ".job"), count);
    bench::WritePoints(dir / ("pts" + tag + ".dat"), count);
    inputs.push_back({"job" + tag + ".wkj", jobFormats});
    inputs.push_back({"job" + tag + ".job", binaryFormats});
    inputs.push_back({"pts" + tag + ".dat", {"cass", "dxf"}});
  }
  if (huge) {
    // About 300 MB each: 67 bytes a keyword record, 112 a binary one.
    bench::WriteKeywordJob(dir / "job300M.wkj", 4'500'000);
    WriteBinaryJob(dir / "job300M.job", 2'700'000);
    inputs.push_back({"job300M.wkj", jobFormats, 1});
    inputs.push_back({"job300M.job", binaryFormats, 1});
  }

  std::printf("best of %d runs (300 MB inputs: one); floor = read the input, write the output's size, fsync, rename\n",
              kRuns);
  std::printf("%-14s %-11s %10s %8s %8s %6s %9s\n", "input", "format", "in MB", "wall s", "floor s", "ratio",
              "peak MiB");
  int failures = 0;
  for (const Input& input : inputs) {
    const fs::path in = dir / input.Name;
    for (const std::string& format : input.Formats) {
      const std::string ext = format.rfind("gt7", 0) == 0 ? ".gt7" : format == "wkj" ? ".wkj" : ".out";
      const fs::path out = dir / ("out_" + format + ext);
      const bool dump = format == "dump";  // its lines go to standard output, here the file out
      const std::vector<std::string> args =
          dump ? std::vector<std::string>{cli.string(), "dump", in.string()}
               : std::vector<std::string>{cli.string(), "convert", in.string(), out.string(), "--to", format,
                                          "--overwrite"};
      const Measure m = Best(
          [&] {
            std::vector<char*> argv2;
            for (const std::string& a : args) argv2.push_back(const_cast<char*>(a.c_str()));
            argv2.push_back(nullptr);
            const int sink = dump ? open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : open("/dev/null", O_WRONLY);
            dup2(sink, 1);
            execv(argv2[0], argv2.data());
            return 127;
          },
          input.Runs);
      const std::uintmax_t size = fs::exists(out) ? fs::file_size(out) : 0;
      const Measure floor = Best([&] { return Floor(in, dir / "floor.out", size); }, input.Runs);
      if (dump) fs::remove(out);
      if (m.Status != 0) ++failures;
      std::printf("%-14s %-11s %10.1f %8.3f %8.3f %6.1f %9.1f%s\n", input.Name.c_str(), format.c_str(),
                  static_cast<double>(fs::file_size(in)) / 1e6, m.Seconds, floor.Seconds,
                  floor.Seconds > 0 ? m.Seconds / floor.Seconds : 0.0, m.MaxRssKb / 1024.0,
                  m.Status != 0 ? "  FAILED" : "");
      std::fflush(stdout);
    }
  }
  fs::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
