// dump FILE: the keyword lines that the binary readers make of an instrument file.
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "cli/output_file.h"
#include "files/file_open.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"

namespace theolink::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: theolink-cli dump FILE\n"
    "Prints the keyword lines read from a binary measurement file (.mea, .dat, .job, .jbf)\n"
    "or coordinate file (.coo, .pts, .cor, .ptf), one per line. A read failure prints the\n"
    "lines read before it, then the failure on the error stream, and exits with 1.\n";

}  // namespace

int RunDump(const Args& args, std::ostream& out, std::ostream& err) {
  if (const auto done = HelpOrUsage(args, args.size() == 1, kHelp, "Usage: theolink-cli dump FILE\n", out, err))
    return *done;
  const std::string& path = args[0];
  // The extension decides as in the window's open dispatch.
  const std::string ext = BinaryExtension(path);
  StreamLines lines(out, "\n");
  std::int32_t result = 0;
  if (ext == ".mea" || ext == ".dat" || ext == ".job" || ext == ".jbf") {
    result = ReadMeasureBinary(path, lines);
  } else if (ext == ".cor" || ext == ".pts" || ext == ".ptf" || ext == ".coo") {
    result = ReadCoordBinary(path, lines);
  } else {
    err << "theolink-cli dump: " << path
        << ": not a binary job or coordinate file (.mea, .dat, .job, .jbf, .coo, .pts, .cor, .ptf)\n";
    return 1;
  }
  out.flush();
  if (result != 0) {
    err << path << ": " << MessageText(BinaryReadMessage(result, path)) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace theolink::cli
