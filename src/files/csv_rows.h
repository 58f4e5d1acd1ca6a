#pragma once
// Comma-separated rows of measurement records and points, in the units of the settings.
#include <string>

#include "records/measure_record.h"
#include "records/settings.h"

namespace theolink {

inline constexpr int CoordLayoutCass = 0;  // name, code, E, N, Z
inline constexpr int CoordLayoutGts7 = 2;  // name, E, N, Z, code

// One row per record (every shot as "SC"); BKB, NOTE and unknown kinds give "".
std::string FormatCsvMeasureRow(const MeasureRecord& record, const Settings& settings);
// One row per point in the given layout; any other layout gives "". A name or code that
// holds a comma, quote or blank is double-quoted so that the row reads back unchanged.
std::string FormatPointRow(const PointRecord& point, int layout, const Settings& settings);

// The same rows appended to row, so a writer can reuse one buffer for every row.
void AppendCsvMeasureRow(std::string& row, const MeasureRecord& record, const Settings& settings);
void AppendPointRow(std::string& row, const PointRecord& point, int layout, const Settings& settings);

}  // namespace theolink
