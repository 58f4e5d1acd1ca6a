#include "app/send_cut_text.h"

#include "app/text_table.h"
#include "records/visible_text.h"

namespace theolink {

std::string LineCutShortText(std::size_t line, std::size_t total, std::string_view name, std::size_t wholeLines,
                             std::string_view why) {
  const std::string values[] = {
      std::to_string(line),
      std::to_string(total),
      VisibleText(name, 60),
      why.empty() ? std::string(PickText(TextId::InstrumentStoppedReading)) : VisibleText(why),
      std::to_string(wholeLines),
  };
  const std::string_view pattern = PickText(TextId::LineCutShort);
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '5') {
      out += values[pattern[i + 1] - '1'];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace theolink
