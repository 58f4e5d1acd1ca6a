#include "cli/load_report.h"

#include "cli/cli_settings.h"
#include "files/file_io.h"
#include "records/text_trim.h"

namespace theolink::cli {

void ReportCuts(const TextCuts& cuts, const std::string& path, std::ostream& err) {
  if (cuts.Count == 0) return;
  err << path << ": " << cuts.Count << (cuts.Count == 1 ? " name or code" : " names or codes")
      << " longer than 15 characters cut to 15\n";
  for (const auto& [first, second] : cuts.SharedNames) {
    err << path << ": points " << first << " and " << second << " now share the name "
        << TrimEnd(std::string_view(first).substr(0, 15)) << '\n';
  }
}

bool ReportOpen(const OpenOutcome& opened, const WorkingData& data, const std::string& path, std::ostream& err) {
  if (opened.Messages.empty()) {
    ReportCuts(data.Cuts, path, err);
    return true;
  }
  for (const UserMessage& message : opened.Messages) err << path << ": " << MessageText(message) << '\n';
  FileDescriptor fd;
  if (const FileStatus status = OpenRegularFile(path, fd); !status.Ok()) err << FileStatusText(path, status) << '\n';
  return false;
}

}  // namespace theolink::cli
