#include "cli/port_advice.h"

#include "app/text_table.h"
#include "serial/com_error.h"

namespace theolink::cli {

void PrintPortAdvice(int osErrorCode, const std::string& port, std::ostream& err) {
  if (const auto advice = PortAdviceOf(osErrorCode)) err << FillText(PickText(*advice), {port}) << '\n';
}

}  // namespace theolink::cli
