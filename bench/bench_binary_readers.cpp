// Reading speed of the binary readers: a .job file of 100,000 records and a .pts file of
// 100,000 points, each read several times through the path API.
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_jobs.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kRepetitions = 5;

void PutF64(std::string& record, std::size_t at, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) record[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

void PutText(std::string& record, std::size_t at, const std::string& text) { record.replace(at, text.size(), text); }

// A job of stations, each followed by shots of every kind with a distance.
std::string MakeJob() {
  std::string file(112, '\0');
  file.reserve(112 * (kRecords + 1));
  static constexpr int kTypes[] = {1, 2, 4, 4, 7, 7, 3, 6, 4, 7};
  for (int i = 0; i < kRecords; ++i) file += bench::BinaryJobRecord(i, kTypes[i % 10]);
  return file;
}

std::string MakePoints() {
  std::string file;
  file.reserve(56 * kRecords);
  for (int i = 0; i < kRecords; ++i) {
    std::string r(56, '\0');
    r[0] = 11;
    PutText(r, 1, "P" + std::to_string(i));
    PutText(r, 16, "TREE");
    PutF64(r, 32, 3'000'000.0 + i * 0.123);
    PutF64(r, 40, 500'000.0 + i * 0.456);
    PutF64(r, 48, 100.0 + (i % 1000) * 0.01);
    file += r;
  }
  return file;
}

template <class Read>
void Measure(const char* label, const std::string& path, Read read) {
  double best = 1e9;
  std::size_t lineCount = 0;
  for (int rep = 0; rep < kRepetitions; ++rep) {
    theolink::LineList lines;
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t rc = read(path, lines);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (rc != 0) {
      std::printf("%s: reader failed with %d\n", label, rc);
      return;
    }
    lineCount = lines.size();
    if (took.count() < best) best = took.count();
  }
  std::printf("%-28s %7d records, %7zu lines, best of %d: %8.2f ms, %6.2f M records/s\n", label, kRecords,
              lineCount, kRepetitions, best * 1e3, kRecords / best / 1e6);
}

}  // namespace

int main() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("theolink_bench_binary_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  const std::string job = (dir / "bench.job").string();
  const std::string pts = (dir / "bench.pts").string();
  std::ofstream(job, std::ios::binary) << MakeJob();
  std::ofstream(pts, std::ios::binary) << MakePoints();

  using ToList = std::int32_t (*)(const std::string&, theolink::LineList&);
  Measure("ReadMeasureBinary (.job)", job, static_cast<ToList>(theolink::ReadMeasureBinary));
  Measure("ReadCoordBinary (.pts)", pts, static_cast<ToList>(theolink::ReadCoordBinary));

  std::filesystem::remove_all(dir);
  return 0;
}
