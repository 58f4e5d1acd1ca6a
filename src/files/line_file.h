#pragma once
// Text files as lists of 8-bit lines.
#include <cstdio>
#include <string>

#include "files/line_sink.h"
#include "records/line_list.h"

namespace theolink {

// Reads the whole file, cutting lines at CR LF, LF or CR; a break at the very end makes no
// extra empty line. Bytes are kept as they are. False (lines untouched) when unreadable.
bool ReadTextLines(const std::string& path, LineList& lines);

// Writes every line followed by CR LF, whole or not at all: the text goes to a new file
// beside the target, which is then renamed over it. False when anything failed; the old
// file (if any) is then untouched and no temporary file is left.
bool WriteTextLines(const std::string& path, const LineList& lines);

// The same as a sink: lines go to a temporary file beside the target as they come; Commit
// renames it over the target. Without a successful Commit the temporary file is removed
// and the target stays as it was.
class AtomicLineFile final : public LineSink {
 public:
  explicit AtomicLineFile(std::string path);
  ~AtomicLineFile() override;
  AtomicLineFile(const AtomicLineFile&) = delete;
  AtomicLineFile& operator=(const AtomicLineFile&) = delete;

  // False when the temporary file could not be created.
  bool IsOpen() const { return file_ != nullptr; }
  void Add(std::string_view line) override;
  // True when every line was written and the file now stands under the target name.
  bool Commit();

 private:
  void Discard();
  void Flush();

  std::string path_, temporary_;
  std::FILE* file_ = nullptr;
  std::string pending_;  // collected here: one fwrite per megabyte, not two per line
  bool failed_ = false;
};

}  // namespace theolink
