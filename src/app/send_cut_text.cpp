#include "app/send_cut_text.h"

#include "app/text_table.h"
#include "records/visible_text.h"

namespace theolink {

std::string LineCutShortText(std::size_t line, std::size_t total, std::string_view name, std::size_t wholeLines,
                             std::string_view why) {
  const std::string reason = why.empty() ? std::string(PickText(TextId::InstrumentStoppedReading)) : VisibleText(why);
  return FillText(PickText(TextId::LineCutShort), {std::to_string(line), std::to_string(total), VisibleText(name, 60),
                                                   reason, std::to_string(wholeLines)});
}

}  // namespace theolink
