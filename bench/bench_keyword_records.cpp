// Reading and writing a large keyword-line job: 100,000 records (about 200,000 lines) are
// preprocessed and parsed, then formatted back into lines. Prints lines per second for
// each direction (best of several runs).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "records/keyword_parser.h"
#include "records/record_formatter.h"

namespace {

using namespace theolink;
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 100000;
constexpr int kRuns = 5;

std::string Pad(const char* keyword) {
  std::string k(keyword);
  k.resize(8, ' ');
  return k;
}

std::string Metres(std::mt19937& rng) {
  const long long tenths = std::uniform_int_distribution<long long>(-9999999999LL, 9999999999LL)(rng);
  const long long whole = tenths / 10000, frac = std::llabs(tenths % 10000);
  std::string f = std::to_string(frac);
  f.insert(0, 4 - f.size(), '0');
  return (tenths < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + "." + f;
}

std::string Seconds(std::mt19937& rng) {
  return std::to_string(std::uniform_int_distribution<int>(0, 1295999)(rng));
}

// A realistic job: a station every 50 shots, mostly SD and SC shots with a few notes.
theolink::LineList MakeJob() {
  std::mt19937 rng(20261208);
  LineList lines = {"JOB     BENCH", "INST    BENCH INSTRUMENT"};
  for (int i = 0; i < kRecords; ++i) {
    const std::string name = "P" + std::to_string(i);
    const int pick = i % 50 == 0 ? 0 : std::uniform_int_distribution<int>(1, 10)(rng);
    if (pick == 0) {
      lines.push_back(Pad("STA") + "ST" + std::to_string(i) + "," + Metres(rng) + ",STN");
      lines.push_back(Pad("XYZ") + Metres(rng) + "," + Metres(rng) + "," + Metres(rng));
    } else if (pick <= 5) {
      lines.push_back(Pad("SD") + name + ",1.5000,CURB");
      lines.push_back(Pad("HVD") + Seconds(rng) + "," + Seconds(rng) + "," + Metres(rng));
    } else if (pick <= 9) {
      lines.push_back(Pad("SC") + name + ",1.3000,TREE");
      lines.push_back(Pad("HVD") + Seconds(rng) + "," + Seconds(rng) + "," + Metres(rng));
      lines.push_back(Pad("ENZ") + Metres(rng) + "," + Metres(rng) + "," + Metres(rng));
    } else {
      lines.push_back(Pad("NOTE") + "checked against the control list, record " + name);
    }
  }
  return lines;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
  const LineList job = MakeJob();
  double bestRead = 1e30, bestWrite = 1e30;
  std::size_t linesWritten = 0;
  std::vector<MeasureRecord> records;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    LineList entries;
    entries.reserve(job.size());
    if (PreprocessLines(job, entries) != 0) return 1;
    records.clear();
    records.reserve(entries.size());
    for (std::size_t i = 2; i < entries.size(); ++i) {
      MeasureRecord r;
      if (ParseRecordText(entries[i], r) != 0) return 1;
      records.push_back(r);
    }
    bestRead = std::min(bestRead, Seconds(Clock::now() - start));

    const auto writeStart = Clock::now();
    LineList out;
    out.reserve(job.size());
    for (const MeasureRecord& r : records) SplitRecordText(FormatRecordText(r), out);
    bestWrite = std::min(bestWrite, Seconds(Clock::now() - writeStart));
    linesWritten = out.size();
  }
  const auto lines = static_cast<double>(job.size());
  std::cout << "job: " << records.size() << " records, " << job.size() << " lines\n"
            << "read  (preprocess + parse): " << static_cast<std::int64_t>(lines / bestRead) << " lines/s ("
            << bestRead * 1000 << " ms)\n"
            << "write (format + split):     " << static_cast<std::int64_t>(linesWritten / bestWrite) << " lines/s ("
            << bestWrite * 1000 << " ms)\n";
  return 0;
}
