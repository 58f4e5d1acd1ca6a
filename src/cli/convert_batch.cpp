#include "cli/convert_batch.h"

#include <exception>
#include <filesystem>
#include <map>

#include "files/save_formats.h"

namespace theolink::cli {
namespace {

namespace fs = std::filesystem;

// The extension of the format's first row: the same whatever the input holds (the English
// pattern, so names do not change with the language).
std::string Extension(std::string_view format) {
  for (const SaveFormat& f : SaveFormats()) {
    if (f.Name != format) continue;
    const std::string_view pattern = f.EnglishPattern;
    const std::size_t dot = pattern.rfind('.');
    if (dot == std::string_view::npos || pattern.substr(dot) == ".*") return ".txt";
    return std::string(pattern.substr(dot));
  }
  return ".txt";
}

}  // namespace

std::string BatchOutputPath(const std::string& input, const std::string& folder, std::string_view format) {
  return (fs::path(folder) / fs::path(input).filename().stem()).string() + Extension(format);
}

int ConvertBatch(const std::vector<std::string>& inputs, const std::string& folder, std::string_view format,
                 const ConvertFile& convert, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    err << "--output-dir " << folder << ": no such folder\n";
    return 2;
  }
  if (!IsSaveFormatName(format)) {
    err << "unknown format '" << format << "'; see 'theolink-cli convert --help'\n";
    return 2;
  }
  std::map<std::string, std::string> written;  // output (as spelled) -> the input it came from
  std::vector<std::string> failed;
  for (const std::string& input : inputs) {
    const std::string output = BatchOutputPath(input, folder, format);
    const fs::path key = fs::weakly_canonical(output, ec);
    const std::string keyText = ec ? output : key.string();
    int status = 1;
    if (const auto earlier = written.find(keyText); earlier != written.end()) {
      err << input << ": its output " << output << " is that of " << earlier->second << "; not converted\n";
    } else {
      try {
        status = convert(input, output);
      } catch (const std::exception& e) {
        err << input << ": " << e.what() << '\n';
      }
    }
    if (status == 0) {
      written.emplace(keyText, input);
      out << input << " -> " << output << '\n';
    } else {
      failed.push_back(input);
    }
  }
  if (failed.empty()) return 0;
  err << "theolink-cli convert: " << inputs.size() - failed.size() << " of " << inputs.size()
      << " files converted; not converted:";
  for (const std::string& input : failed) err << ' ' << input;
  err << '\n';
  return 1;
}

}  // namespace theolink::cli
