#include "files/line_file.h"

#include "records/text_lines.h"

namespace theolink {

bool ReadTextLines(const std::string& path, LineList& lines) {
  std::string text;
  if (!ReadWholeFile(path, text).Ok()) return false;
  // Editors that save UTF-8 may put a byte-order mark first; it is no part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  lines = SplitTextLines(text);
  return true;
}

bool ReadTextFile(const std::string& path, TextFile& file) {
  file.Lines.clear();
  if (!ReadWholeFile(path, file.Bytes).Ok()) return false;
  file.Lines = SplitLineViews(file.Bytes);
  return true;
}

bool WriteTextLines(const std::string& path, const LineList& lines) {
  AtomicLineFile file(path);
  for (const std::string& line : lines) file.Add(line);
  return file.Commit();
}

}  // namespace theolink
