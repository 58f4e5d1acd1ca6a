#include "records/binary_measure_reader.h"

#include "records/binary_file.h"
#include "records/binary_layouts.h"
#include "records/file_name_parts.h"

namespace theolink {

std::int32_t ReadMeasureBinary(const std::string& path, LineList& lines) {
  LineListOutput out(lines);
  return ReadMeasureBinary(path, static_cast<LineOutput&>(out));
}

std::int32_t ReadMeasureBinary(const std::string& path, LineOutput& lines) {
  using Layout = std::int32_t (*)(const BinaryInput&, LineOutput&);
  // The first of these texts found anywhere in the lower-cased file name decides.
  static constexpr struct {
    std::string_view text;
    Layout read;
  } kChoices[] = {
      {".mea", &ReadMeaLayouts},
      {".dat", &ReadLayoutD96},
      {".job", &ReadLayoutJ112},
      {".jbf", &ReadLayoutJ136},
  };
  const std::string lower = LowerFileName(path);
  for (const auto& choice : kChoices) {
    if (lower.find(choice.text) == std::string::npos) continue;
    BinaryFile file;
    if (file.Open(path) != kBinaryOk) return kBinaryCannotOpen;
    return choice.read(BinaryInput(file), lines);
  }
  return kBinaryOk;
}

}  // namespace theolink
