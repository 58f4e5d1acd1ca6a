#pragma once
// A small INI reader and writer that keeps every line of the file, so sections, keys,
// comments and odd lines a user put there survive a write.
//
// Section and key names are compared without regard to ASCII case. When a section or a key
// occurs more than once, the first occurrence is the one read and rewritten. Lines before
// the first section header, and lines that are neither headers nor "key=value", are kept
// but never read. Names and values are trimmed of blanks and control characters.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace theolink {

class IniFile {
 public:
  IniFile() = default;

  // Reads INI text; any bytes are accepted. Lines end at LF; CRs before it are dropped.
  static IniFile Parse(std::string_view content);
  // Reads the file at path; a missing or unreadable file gives an empty IniFile.
  static IniFile Load(const std::string& path);

  // The trimmed value of the key, or nothing when the section or key is absent.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // A decimal integer (optional sign, digits, within 32 bits); anything else gives fallback.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // A number in '.'-decimal notation, whatever the locale; anything else gives fallback.
  double ReadReal(std::string_view section, std::string_view key, double fallback) const;

  // Replaces the value in place, or appends the key at the end of its section, or appends
  // the section at the end of the file. Line breaks in names and value are dropped.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // General notation with at most 15 significant digits (1 as "1", 0.95 as "0.95").
  void WriteReal(std::string_view section, std::string_view key, double value);

  // The whole file text, every line ended as the file read was (CR LF for a new file).
  std::string Serialize() const;
  // Writes the whole text to a temporary file in the target's folder, flushes it to disk
  // and renames it over the target, so a crash leaves either the old or the new file.
  // False (target untouched) when that fails.
  bool Save(const std::string& path) const;

 private:
  struct Line {
    std::string text;
    // For a key line: the key and value positions within text; for a header: the name.
    std::size_t nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0;
    enum Kind : unsigned char { Other, Header, Entry } kind = Other;
  };

  static Line Classify(std::string text);
  // Index of the first header line named section, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the first key line of the section that starts at header, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::vector<Line> lines_;
  std::string lineEnd_ = "\r\n";
  bool byteOrderMark_ = false;  // a UTF-8 mark before the first line, written back as found
};

// General notation, at most 15 significant digits, '.' as decimal mark whatever the locale.
std::string FormatGeneral15(double value);

}  // namespace theolink
