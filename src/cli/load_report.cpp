#include "cli/load_report.h"

#include "records/text_trim.h"

namespace theolink::cli {

void ReportCuts(const WorkingData& data, const std::string& path, std::ostream& err) {
  const TextCuts& cuts = data.Cuts;
  if (cuts.Count == 0) return;
  err << path << ": " << cuts.Count << (cuts.Count == 1 ? " name or code" : " names or codes")
      << " longer than 15 characters cut to 15\n";
  for (const auto& [first, second] : cuts.SharedNames) {
    err << path << ": points " << first << " and " << second << " now share the name "
        << TrimEnd(std::string_view(first).substr(0, 15)) << '\n';
  }
}

}  // namespace theolink::cli
