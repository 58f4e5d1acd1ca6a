#include "app/help_sections.h"

#include <filesystem>
#include <system_error>

#include "files/text_encoding.h"
#include "files/file_io.h"
#include "records/text_lines.h"
#include "records/text_trim.h"

namespace theolink {
namespace {

constexpr std::string_view kSeparator = "========";

std::string JoinWithLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> SplitHelpSections(std::string_view text) {
  std::vector<std::string> sections;
  std::string_view rest = text;
  std::size_t separator = std::string_view::npos;
  do {
    separator = rest.find(kSeparator);
    if (separator != std::string_view::npos) {
      const std::string_view before = Trim(rest.substr(0, separator));
      if (!before.empty()) sections.emplace_back(before);
      rest = rest.substr(separator);
    }
    // Also without a separator: a text that starts with a few '=' loses them.
    while (!rest.empty() && (rest.front() == '=' || IsBlankByte(rest.front()))) rest.remove_prefix(1);
    rest = Trim(rest);
  } while (separator != std::string_view::npos);
  sections.emplace_back(rest);
  return sections;
}

const std::string* PickHelpSection(const std::vector<std::string>& sections, int language) {
  if (language < 0 || static_cast<std::size_t>(language) >= sections.size()) return nullptr;
  return &sections[static_cast<std::size_t>(language)];
}

HelpOutcome PickHelpText(std::string_view text, int language) {
  HelpOutcome outcome;
  outcome.lines = SplitTextLines(text);
  // The file is seen as its lines, each ended by CR LF.
  std::string joined;
  joined.reserve(text.size() + 2 * outcome.lines.size());
  for (const std::string& line : outcome.lines) {
    joined += line;
    joined += "\r\n";
  }
  const std::vector<std::string> sections = SplitHelpSections(joined);
  const std::string* section = PickHelpSection(sections, language);
  if (section == nullptr || Trim(*section).empty()) {
    outcome.failure = TextId::HelpFileDamaged;
    return outcome;
  }
  outcome.ok = true;
  outcome.text = JoinWithLf(*section);
  return outcome;
}

std::string DecodeHelpBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return std::string(bytes);
  }
  return GbkToUtf8(bytes);
}

std::string HelpPathBesideExecutable(const std::string& executablePath) {
  const std::size_t slash = executablePath.rfind('/');
  if (slash == std::string::npos) return "HELP.txt";
  return executablePath.substr(0, slash + 1) + "HELP.txt";
}

std::string FindHelpFile(const std::string& executablePath) {
  std::error_code ignored;
  const std::string beside = HelpPathBesideExecutable(executablePath);
  const std::size_t slash = executablePath.rfind('/');
  if (slash == std::string::npos || std::filesystem::exists(beside, ignored)) return beside;
  const std::string installed = executablePath.substr(0, slash + 1) + "../share/theolink/HELP.txt";
  return std::filesystem::exists(installed, ignored) ? installed : beside;
}

HelpOutcome LoadHelp(const std::string& path, int language) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes).Ok()) return HelpOutcome{};
  return PickHelpText(DecodeHelpBytes(bytes), language);
}

}  // namespace theolink
