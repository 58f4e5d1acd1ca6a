// Arbitrary bytes as a keyword-line job: split into lines, joined into entries, every entry
// read as headers and as a record. Whatever parses must format and parse again.
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_seeds.h"
#include "records/diagnostics.h"
#include "records/job_check.h"
#include "records/keyword_parser.h"
#include "records/record_formatter.h"
#include "records/text_lines.h"

namespace {

using namespace theolink;

void CheckRecordRoundTrip(const MeasureRecord& record) {
  const std::string text = FormatRecordText(record);
  LineList lines;
  SplitRecordText(text, lines);
  LineList entries;
  if (PreprocessLines(lines, entries) != 0 || entries.size() != 1) std::abort();
  MeasureRecord again;
  if (ParseRecordText(entries[0], again) != 0 || again.Kind != record.Kind) std::abort();
  if (FormatRecordText(again).size() == 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The parser's diagnostic line for every bad number would flood the fuzzer's own output.
  [[maybe_unused]] static const auto quiet = theolink::SetDiagnosticSink([](std::string_view) {});
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const LineList lines = SplitTextLines(bytes);
  LineList entries;
  const std::int32_t pre = PreprocessLines(lines, entries);
  if (pre > 0 || pre < -3) std::abort();
  for (const std::string& entry : entries) {
    std::string value;
    (void)ReadJobHeader(entry, value);
    (void)ReadInstHeader(entry, value);
    MeasureRecord record;
    const std::int32_t code = ParseRecordText(entry, record);
    if (code < -5 || code > 0) std::abort();
    if (code == 0) CheckRecordRoundTrip(record);
    // The other value forms read the same text through other paths.
    (void)ParseRecord(entry, 1, 2, record);
  }
  // One record text straight from the bytes, '|' and all.
  MeasureRecord record;
  if (ParseRecordText(bytes, record) == 0) CheckRecordRoundTrip(record);
  (void)CheckKeywordJob(lines);
  return 0;
}

std::vector<std::string> FuzzSeeds() {
  return {
      "JOB     DEMO\r\nINST    GTS 1\r\nSTA     ST1,1.5520,STN\r\nXYZ     100.0000,200.0000,10.0000\r\n"
      "BS      ST2,1.6000\r\nHVD     0,324015,84.2310\r\nSC      ST2,1.6000,BSS\r\nENZ     1,2,3\r\n",
      "SD      P7,1.5000,WALL\nHVD     324000,318600,25.1230\nSA      A,1,C\nHV      1,2\n",
      "SC      P1,1.0000,C\rHVD     3600,7200,5.5000\rNEZ     1,2,3\rBKB     B,0,648000\r",
      "NOTE    a,b|c\r\n0\r\n\r\nNOTE\r\n",
      "SD      P7,1.5000,WALL|HVD     324000,318600,25.1230",
      "SC      P,1,C|NEZ     1,2,x|HVD     1,2,3",
      "STA     S,1e300,C\nXYZ     -1e-300,1.2.3,inf\n",
      "SD       P 7 , 1 ,  a b |HVD      1 ,2 , 3 ",
  };
}
