#pragma once
// Keyword lines as the binary readers write them: the keyword padded to 8 characters, then
// the fields joined by ",", values in the instrument forms.
#include <initializer_list>
#include <string>
#include <string_view>

#include "records/keyword_line.h"
#include "records/line_list.h"

namespace theolink {

// An angle given in arc seconds, written as whole arc seconds.
std::string SecondsText(double arcSeconds);
// A distance, height or coordinate in metres, written with four decimals.
std::string MetreText(double metres);

// A name or code text as a line may carry it: CR and LF become blanks so one record line
// stays one line.
std::string LineSafeText(std::string_view text);
// As LineSafeText, with an empty name written as "NONAME".
std::string NameOrNoname(std::string_view text);

// Builds the same lines as KeywordLine with the texts above, one at a time in a buffer kept
// from line to line: a large file's records make no string per line or per value.
class KeywordLineBuilder {
 public:
  // Starts a line: the keyword padded to 8 characters.
  KeywordLineBuilder& Start(std::string_view keyword);
  KeywordLineBuilder& Text(std::string_view field);
  KeywordLineBuilder& SafeText(std::string_view field);  // as LineSafeText
  KeywordLineBuilder& Metres(double metres);             // as MetreText
  KeywordLineBuilder& Seconds(double arcSeconds);        // as SecondsText
  // The line built; valid until the next Start.
  std::string_view Line() const { return line_; }

 private:
  void Separate();

  std::string line_;
  bool first_ = true;
};

}  // namespace theolink
