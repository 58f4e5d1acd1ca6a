#include "files/geo_transform.h"

namespace theolink {

bool IsEpsgCode(std::string_view crs) {
  constexpr std::string_view prefix = "EPSG:";
  if (crs.substr(0, prefix.size()) != prefix || crs.size() == prefix.size() || crs.size() > prefix.size() + 6)
    return false;
  for (const char c : crs.substr(prefix.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace theolink
