#include "records/file_name_parts.h"

#include "records/ascii_case.h"
#include "records/default_names.h"

namespace theolink {

std::string_view FileNamePart(std::string_view path) {
  const std::size_t cut = path.rfind('/');
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string LowerFileName(std::string_view path) { return LowerAscii(FileNamePart(path)); }

std::string FileNameStem(std::string_view path) {
  std::string_view name = FileNamePart(path);
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name.empty() ? kNoName : name);
}

std::string BinaryExtension(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return LowerAscii(name.substr(dot, 4));
}

}  // namespace theolink
