#pragma once
// What the raw copy (raw_receive_copy.cpp) asks of the platform's own part. Every failure is
// the system's code, for OsErrorText.
#include <ctime>
#include <string>
#include <string_view>

namespace theolink::raw_copy_detail {

// The code of "the file exists", for a stamp that found no free name.
int NameTakenCode();
// Makes folder and the folders above it; 0 or the code.
int MakeCopyFolder(const std::string& folder);
std::tm LocalTime(std::time_t moment);
// Creates path for appending, never opening an existing file: 0 with fd set, or the code
// (NameTakenCode() when the name is taken).
int CreateNewCopy(const std::string& path, int& fd);
// Writes all of bytes straight to the system; 0 or the code.
int WriteToCopy(int fd, std::string_view bytes);
// Flushes the file to disk and closes it; 0 or the code of the flush.
int FlushAndClose(int fd);

}  // namespace theolink::raw_copy_detail
