#include "records/keyword_line.h"

namespace theolink {

std::string KeywordLine(std::string_view keyword, std::initializer_list<std::string_view> fields) {
  std::size_t size = 8 + fields.size();
  for (std::string_view f : fields) size += f.size();
  std::string line;
  line.reserve(size);
  line.append(keyword);
  if (line.size() < 8) line.append(8 - line.size(), ' ');
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) line.push_back(',');
    first = false;
    line.append(f);
  }
  return line;
}

}  // namespace theolink
