// Arbitrary bytes as an opened text file: classification, every loader, and the writers of
// whatever loaded, a job's reduced shots and station check included. Nothing may crash, and
// a loaded point or code list must write out again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/station_check_lines.h"
#include "files/csv_rows.h"
#include "files/data_views.h"
#include "files/dxf_writer.h"
#include "files/gts7_export.h"
#include "files/line_loaders.h"
#include "files/save_writers.h"
#include "fuzz_seeds.h"
#include "records/diagnostics.h"
#include "records/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The parser's diagnostic line for every bad number would flood the fuzzer's own output.
  [[maybe_unused]] static const auto quiet = theolink::SetDiagnosticSink([](std::string_view) {});
  if (size == 0) return 0;
  // The first byte picks the settings, the rest is the file.
  theolink::Settings settings;
  settings.AngleUnit = data[0] % 3;
  settings.DistanceUnit = (data[0] / 3) % 3;
  settings.CoordOrder = (data[0] / 9) % 2;
  settings.ComputeShots = (data[0] / 18) % 2 == 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const theolink::LineList lines = theolink::SplitTextLines(text);

  theolink::WorkingData work;
  if (theolink::ClassifyTextLines(work, lines, settings)) return 0;
  theolink::LineList out;
  switch (work.DataKind) {
    case theolink::DataKind::Measure:
      for (const theolink::SaveFormat& format : theolink::SaveFormats())
        if (format.Kind == theolink::DataKind::Measure)
          (void)theolink::ExportMeasureData(work, out, format, "fuzz.gt7", settings);
      out = theolink::MeasureTextLines(work, settings);
      (void)theolink::StationCheckLines(work.MeasurementList, theolink::CheckStations(work.MeasurementList, settings),
                                        settings, data[0] % 2);
      break;
    case theolink::DataKind::Coord:
      theolink::WriteCoordLines(work, out, theolink::CoordLayoutCass, settings);
      if (out.size() != work.PointList.size()) std::abort();
      theolink::WriteDxf(work, out);
      theolink::WriteUploadCoordLines(work, out);
      break;
    case theolink::DataKind::Code:
      theolink::WriteCodeLines(work, out);
      if (out.size() != work.CodeList.size()) std::abort();
      break;
  }
  return 0;
}

std::vector<std::string> FuzzSeeds() {
  return {
      std::string("\x00", 1) + "JOB     A1\r\nINST    X\r\nSTA     S1,1.5,C\r\nXYZ     1,2,3\r\nBS      B,1\r\n"
                               "HVD     0,324000,10\r\nSC      B,1,BSS\r\nENZ     1,2,3\r\nNOTE    n\r\n",
      std::string("\x04", 1) + "P1,T1,10.5,20.5,3.0\r\n\"P 2\",,1,2,3\r\n",
      std::string("\x0a", 1) + "P1,10.5,20.5,3.0,T1\nP2,1,2,3,\n",
      std::string("\x01", 1) + "T1\r\n\r\nWALL\r\n",
      std::string("\x02", 1) + "T1:a:b:c:d:e:f:g:h:i\r\n",
      std::string("\x00", 1) + "SC      P1,0.0000,\rNEZ     1,2,3\r",
      // Both faces: a backsight pair, a shot pair and a face-II-only SC shot.
      std::string("\x13", 1) + "JOB     F\r\nINST    X\r\nSTA     S,1.5,\r\nXYZ     0,0,0\r\nBS      B,1\r\n"
                               "HVD     0,324000,10\r\nSC      B,1,BSS\r\nENZ     0,10,0\r\nBS      B,1\r\n"
                               "HVD     648010,972000,10\r\nSC      B,1,BSS\r\nENZ     0,10,0\r\nSD      P,1,\r\n"
                               "HVD     324000,320000,5\r\nSD      P,1,\r\nHVD     972000,976000,5\r\n"
                               "SC      Q,1,\r\nHVD     100000,1000000,7\r\nENZ     1,2,3\r\n",
  };
}
