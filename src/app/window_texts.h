#pragma once
// Texts the main window makes up from its state: the title with the file and its modified
// mark, the grid headers with the distance unit, counts and the progress of a transfer.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/working_data.h"
#include "records/settings.h"

namespace theolink {

// "points.txt* - Theolink II v1.5": the file's name (UTF-8), "*" when modified, then the
// title of WindowTitle; with no file, WindowTitle alone.
std::string DocumentTitle(std::string_view fileName, bool modified, int language);

// The grid's header texts for coordinates or codes in the language; the two plane coordinates
// and the elevation end in the distance unit of the settings, after between:
// "North coordinates [m]".
std::vector<std::string> GridHeaderTexts(DataKind dataKind, const Settings& settings, int language,
                                         std::string_view between = " ");

// A count for reading: in English its digits in groups of three apart by a blank
// ("12 345"), in Chinese as they are.
std::string CountText(std::uint64_t count, int language);
// Minutes and seconds, "0:07", "12:30"; from an hour on "1:02:03". Negative reads as 0.
std::string ElapsedText(std::int64_t seconds);
// "12 345 bytes, 210 lines, 0:07".
std::string TransferProgressText(std::uint64_t bytes, std::uint64_t lines, std::int64_t seconds, int language);

}  // namespace theolink
