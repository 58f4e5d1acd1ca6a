#include "files/line_file.h"

#include "records/text_lines.h"

namespace theolink {

bool ReadTextLines(const std::string& path, LineList& lines) {
  TextFile file;
  if (!ReadTextFile(path, file)) return false;
  lines.assign(file.Lines.begin(), file.Lines.end());
  return true;
}

bool ReadTextFile(const std::string& path, TextFile& file) {
  file.Lines.clear();
  if (!ReadWholeFile(path, file.Bytes).Ok()) return false;
  // Editors that save UTF-8 may put a byte-order mark first; it is no part of the first line.
  if (file.Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) file.Bytes.erase(0, 3);
  file.Lines = SplitLineViews(file.Bytes);
  return true;
}

bool WriteTextLines(const std::string& path, const LineList& lines) {
  AtomicLineFile file(path);
  for (const std::string& line : lines) file.Add(line);
  return file.Commit();
}

}  // namespace theolink
