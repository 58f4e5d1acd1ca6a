// dump FILE: the keyword lines that the binary readers make of an instrument file.
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "records/binary_coord_reader.h"
#include "records/binary_measure_reader.h"

namespace theolink::cli {
namespace {

// English texts of the reader results; the bilingual table will take this over.
const char* ReadResultText(std::int32_t code) {
  switch (code) {
    case 0: return "load successfully";
    case -1: return "file not exists or permission denny";
    case -2: return "file is empty";
    case -3: return "error occured while reading";
    case -4: return "undefined data type in file";
    case -5: return "bad data in file";
    case -6: return "incorrect file format";
    default: return "undefined error code";
  }
}

// The extension as the window's open dispatch takes it: the file name's last '.' and at
// most three characters after it, in lower case.
std::string Extension(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot, 4));
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

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
  const std::string ext = Extension(path);
  LineList lines;
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
  for (const std::string& line : lines) out << line << '\n';
  out.flush();
  if (result != 0) {
    err << ReadResultText(result) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace theolink::cli
