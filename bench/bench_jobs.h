#pragma once
// Generated inputs the benchmarks share, so every figure is measured on the same job.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace bench {

inline std::string Metres(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", v);  // generator only; the C locale is in force
  return buffer;
}

// A keyword job of `records` records, ten per round: STA, BS joined with its BSS shot,
// three SD, three SC, SA, NOTE.
inline void WriteKeywordJob(const std::filesystem::path& path, int records) {
  std::ofstream out(path, std::ios::binary);
  out << "JOB     BENCH\r\nINST    GENERATOR\r\n";
  for (int round = 0; round < records / 10; ++round) {
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

// A CASS coordinate list of `points` points.
inline void WritePoints(const std::filesystem::path& path, int points) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < points; ++i)
    out << 'P' << i << ",T" << i % 50 << ',' << Metres(500000 + i * 0.125) << ',' << Metres(3000000 + i * 0.375)
        << ',' << Metres(100 + (i % 1000) * 0.01) << "\r\n";
}

}  // namespace bench
