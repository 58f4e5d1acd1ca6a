// theolink-cli check FILE: reads a received job or .wkj work file as the main window
// would load it and reports the record count or the first entry that fails.
#include <string>

#include "files/file_io.h"
#include "files/line_file.h"
#include "cli/cli_settings.h"
#include "cli/commands.h"
#include "records/job_check.h"
#include "records/result_texts.h"
#include "records/visible_text.h"

namespace theolink::cli {
namespace {

constexpr const char* kUsage =
    "Usage: theolink-cli check FILE\n"
    "Reads FILE as keyword lines (a received job or a .wkj work file), joins them into\n"
    "records and parses every record. Prints the number of records and the job name;\n"
    "exits with 1 and names the first failing line or entry when the file does not read.\n";

}  // namespace

int RunCheck(const Args& args, std::ostream& out, std::ostream& err) {
  const bool wordsFit = args.size() == 1 && !args[0].empty() && args[0][0] != '-';
  if (const auto done = HelpOrUsage(args, wordsFit, kUsage, kUsage, out, err)) return *done;
  const std::string& path = args[0];
  // Read as the loader reads a text job, a block at a time, so any size checks in little
  // memory. Regular files only: a FIFO or a device in the file's place would never end.
  FileLineSource lines(path);
  const JobCheckResult result = ReadKeywordJob(lines, nullptr);
  if (lines.Failed()) {
    err << "theolink-cli check: cannot read " << FileStatusText(path, lines.Status()) << '\n';
    return 1;
  }
  switch (result.Stage) {
    case JobCheckStage::Passed:
      out << path << ": " << std::to_string(result.RecordCount) << " records, job " << VisibleText(result.JobName)
          << ", instrument " << VisibleText(result.InstrumentName) << '\n';
      return 0;
    case JobCheckStage::TooFewLines:
      err << path << ": 2 lines expected at least\n";
      return 1;
    case JobCheckStage::Preprocess:
      err << path << ": line " << std::to_string(result.Position) << " (" << VisibleText(result.Line)
          << "): preprocess lines failed: " << PreprocessFailureText(result.Code) << " ("
          << std::to_string(result.Code) << ")\n";
      return 1;
    case JobCheckStage::Record:
      err << path << ": entry " << std::to_string(result.Position) << " (" << VisibleText(result.Line)
          << "): load record item failed: " << RecordFailureText(result.Code) << " ("
          << std::to_string(result.Code) << ")\n";
      return 1;
  }
  return 1;
}

}  // namespace theolink::cli
