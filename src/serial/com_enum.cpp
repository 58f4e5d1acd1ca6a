#include "serial/com_enum.h"

#include <algorithm>
#include <cctype>

namespace theolink {

void SortNoCase(std::vector<std::string>& strings) {
  std::stable_sort(strings.begin(), strings.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
          return std::tolower(x) < std::tolower(y);
        });
  });
}

}  // namespace theolink
