#pragma once
// A raw copy of every receive: the bytes exactly as they came, appended to a file of their
// own before anything cuts or classifies them, so a failed load, a crash or a killed
// program never loses what the instrument sent.
#include <string>
#include <string_view>

namespace theolink {

// $XDG_DATA_HOME/theolink/received, or ~/.local/share/theolink/received without it; on
// Windows <Local application data>/theolink/received.
std::string DefaultRawCopyFolder();

class RawReceiveCopy {
 public:
  // Copies go into folder (made when the first byte comes).
  explicit RawReceiveCopy(std::string folder);
  ~RawReceiveCopy();
  RawReceiveCopy(const RawReceiveCopy&) = delete;
  RawReceiveCopy& operator=(const RawReceiveCopy&) = delete;

  // A new receive starts: the next byte opens a new file.
  void Begin();
  // Appends bytes and hands them to the system at once. The first byte of a receive makes
  // the file, named by the local date and time ("2026-12-08_101503.txt", "-2" and so on
  // when that name is taken; an existing file is never touched). A failure is kept in
  // Error() and ends the copy; it never disturbs the receive.
  void Append(std::string_view bytes);
  // The receive has ended: the file is closed.
  void End();

  // The copy of the current or last receive; empty while no byte came.
  const std::string& Path() const { return path_; }
  // Why the copy could not be made or written in full; empty when all went well.
  const std::string& Error() const { return error_; }

 private:
  bool Create();

  std::string folder_;
  std::string path_;
  std::string error_;
  int fd_ = -1;
};

}  // namespace theolink
