#pragma once
// Generated inputs the benchmarks share, so every figure is measured on the same job.
#include <bit>
#include <cstdint>
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

// One 112-byte binary .job record of the given type: name PT<i>, code CODE<i % 37>, and
// coordinates, angles and distances that vary with i (little-endian doubles).
inline std::string BinaryJobRecord(int i, int type) {
  std::string r(112, '\0');
  r[0] = static_cast<char>(type);
  const std::string name = "PT" + std::to_string(i), code = "CODE" + std::to_string(i % 37);
  r.replace(1, name.size(), name);
  r.replace(31, code.size(), code);
  const double values[] = {3'000'000.0 + i * 0.123, 500'000.0 + i * 0.456, 100.0 + (i % 1000) * 0.01,
                           static_cast<double>((i * 7919) % 1'296'000), static_cast<double>(324000 + (i % 3600)),
                           10.0 + (i % 500) * 0.1234, 1.55, 1.8};
  for (std::size_t k = 0; k < 8; ++k) {
    const auto bits = std::bit_cast<std::uint64_t>(values[k]);
    for (std::size_t b = 0; b < 8; ++b) r[48 + 8 * k + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
  }
  return r;
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
