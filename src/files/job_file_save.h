#pragma once
// A keyword job (text, or a binary job read into keyword lines) saved straight from its file:
// its records are read a run at a time and written as they come, so no list of them is held.
// The bytes are those of opening the file and saving the working data.
#include <cstddef>
#include <optional>
#include <string>

#include "files/file_save.h"
#include "records/settings.h"

namespace theolink {

// Saves the job in input to path in a format of the job's. Nothing (and no file
// touched) when input is no job with records that reads whole, or when the save would be
// refused or cannot start: the file is then to be opened and saved the ordinary way, which
// says what is wrong. cuts receives how many names and codes were cut to fit.
std::optional<SaveResult> SaveJobFileAs(const std::string& input, const SaveFormat& format, const std::string& path,
                                        const Settings& settings, std::size_t& cuts);

}  // namespace theolink
