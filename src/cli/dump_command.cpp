// dump FILE: the keyword lines that the binary readers make of an instrument file.
#include <cstdint>
#include <string>

#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "files/file_open.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"

namespace theolink::cli {
namespace {

// Each line goes out as it is made: memory stays flat whatever the file's size.
class StreamLines final : public LineOutput {
 public:
  explicit StreamLines(std::ostream& out) : out_(out) {}
  void Add(std::string_view line) override { out_ << line << '\n'; }

 private:
  std::ostream& out_;
};

}  // namespace

int RunDump(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << "Usage: theolink-cli dump FILE\n"
           "Prints the keyword lines read from a binary measurement file (.mea, .dat, .job, .jbf)\n"
           "or coordinate file (.coo, .pts, .cor, .ptf), one per line. A read failure prints the\n"
           "lines read before it, then the failure on the error stream, and exits with 1.\n";
    return 0;
  }
  if (args.size() != 1) {
    err << "Usage: theolink-cli dump FILE\n";
    return 2;
  }
  const std::string& path = args[0];
  // The extension decides as in the window's open dispatch.
  const std::string ext = BinaryExtension(path);
  StreamLines lines(out);
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
