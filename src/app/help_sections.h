#pragma once
// The help text: splitting it into its language sections and picking the section of a
// language, without any window.
#include <string>
#include <string_view>
#include <vector>

#include "records/text_id.h"

namespace theolink {

// Splits at every run of "========": each part before a separator is trimmed of blanks and
// control characters and kept when not empty; the text after a separator, like a text
// without any, loses its leading '=' and blank characters; what follows the last separator
// (or the whole text) is always kept, even empty.
std::vector<std::string> SplitHelpSections(std::string_view text);

// Element `language` of the sections, or nullptr when there is no such element.
const std::string* PickHelpSection(const std::vector<std::string>& sections, int language);

struct HelpOutcome {
  bool ok = false;
  TextId failure = TextId::NoHelpFile;  // NoHelpFile or HelpFileDamaged when !ok
  std::string text;                     // the chosen section, UTF-8, lines ended by LF
  std::vector<std::string> lines;       // the file's lines as loaded (UTF-8), when found
};

// Picks the section of the language from the help text (UTF-8, any line ends).
HelpOutcome PickHelpText(std::string_view text, int language);

// Decodes help file bytes to UTF-8: valid UTF-8 (with or without a byte order mark) is
// taken as it is, anything else is read as GBK.
std::string DecodeHelpBytes(std::string_view bytes);

// The help file beside the executable ("HELP.txt" in its folder).
std::string HelpPathBesideExecutable(const std::string& executablePath);
// The help file the program uses: beside it, else an installed one in
// ../share/theolink/; the path beside it when neither exists.
std::string FindHelpFile(const std::string& executablePath);

// Loads the file and picks the section; NoHelpFile when it cannot be read.
HelpOutcome LoadHelp(const std::string& path, int language);

}  // namespace theolink
