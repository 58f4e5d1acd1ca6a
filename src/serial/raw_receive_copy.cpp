#include "serial/raw_receive_copy.h"

#include <ctime>
#include <utility>

#include "serial/com_error.h"
#include "serial/raw_receive_copy_platform.h"

namespace theolink {

using namespace raw_copy_detail;

namespace {

std::string LocalStamp() {
  const std::tm local = LocalTime(std::time(nullptr));
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &local);
  return text;
}

}  // namespace

RawReceiveCopy::RawReceiveCopy(std::string folder) : folder_(std::move(folder)) {}

RawReceiveCopy::~RawReceiveCopy() { End(); }

void RawReceiveCopy::Begin() {
  End();
  path_.clear();
  error_.clear();
}

bool RawReceiveCopy::Create() {
  if (const int e = MakeCopyFolder(folder_)) {
    error_ = folder_ + ": " + OsErrorText(e);
    return false;
  }
  const std::string stamp = folder_ + "/" + LocalStamp();
  for (int n = 1; n < 1000; ++n) {
    const std::string path = stamp + (n == 1 ? "" : "-" + std::to_string(n)) + ".txt";
    const int e = CreateNewCopy(path, fd_);
    if (e == 0) {
      path_ = path;
      return true;
    }
    if (e != NameTakenCode()) {
      error_ = path + ": " + OsErrorText(e);
      return false;
    }
  }
  error_ = stamp + ".txt: " + OsErrorText(NameTakenCode());
  return false;
}

void RawReceiveCopy::Append(std::string_view bytes) {
  if (bytes.empty() || !error_.empty()) return;
  if (fd_ < 0 && (!path_.empty() || !Create())) return;
  // Straight to the system, no buffer of our own: a killed program keeps every byte written.
  if (const int e = WriteToCopy(fd_, bytes)) {
    error_ = path_ + ": " + OsErrorText(e);
    End();
  }
}

void RawReceiveCopy::End() {
  if (fd_ < 0) return;
  // The copy is worth its place on disk; a failure here is only kept, never raised.
  if (const int e = FlushAndClose(fd_); e != 0 && error_.empty()) error_ = path_ + ": " + OsErrorText(e);
  fd_ = -1;
}

}  // namespace theolink
