#pragma once
// What the two views show of the working data: the text view's lines for a measurement
// job, the grid's header and rows for points and codes, and the count for the status bar.
// Display text only; the working data stays the authority.
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/line_sink.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/line_list.h"
#include "records/line_output.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// Lines of the text view: JOB, INST, then every record with every shot shown as "SC" plus
// its "HVD" line, in the settings' units. Empty when there are no records.
LineList MeasureTextLines(const WorkingData& data, const Settings& settings);
// The same lines given one at a time, so a large job need not be held twice. The records
// done are reported to progress, which may cancel.
void WriteMeasureTextLines(const WorkingData& data, const Settings& settings, LineOut lines,
                           TaskProgress* progress = nullptr);

// What a text view shows: its lines packed, and the size of the longest.
struct TextViewLines {
  PackedLines Lines;
  std::size_t Longest = 0;
};
// Packs lines for a text view.
std::shared_ptr<const TextViewLines> PackTextViewLines(LineSpan lines);
// MeasureTextLines, packed.
std::shared_ptr<const TextViewLines> MeasureTextView(const WorkingData& data, const Settings& settings,
                                                     TaskProgress* progress = nullptr);

inline constexpr std::size_t CoordGridColumns = 6;
inline constexpr std::size_t CodeGridColumns = 2;
inline constexpr std::array<int, CoordGridColumns> CoordGridWidths = {50, 100, 100, 100, 100, 70};

// Header texts of the grid for DataKind 2 (north/east order by CoordOrder) or 3.
std::vector<TextId> GridHeaderIds(DataKind dataKind, const Settings& settings);
// Row n (from 1) of the coordinate grid: "#n", name ("NONAME" when empty), the two plane
// coordinates in CoordOrder, elevation, code.
std::vector<std::string> CoordGridRow(const PointRecord& point, std::size_t rowNumber, const Settings& settings);
// Row n (from 1) of the code grid: "#n", code.
std::vector<std::string> CodeGridRow(const CodeEntry& code, std::size_t rowNumber);
// The label of row n in column 0.
std::string RowLabel(std::size_t rowNumber);
// Every row of the grid for the points or for the codes, numbered from 1.
using GridRow = std::vector<std::string>;
std::vector<GridRow> CoordGridRows(const WorkingData& data, const Settings& settings, TaskProgress* progress = nullptr);
std::vector<GridRow> CodeGridRows(const WorkingData& data, TaskProgress* progress = nullptr);

// What the views will show of data in the mode dataKind, made ahead (on a thread of its
// own) so that showing it costs the window nothing. Empty where the view shows nothing.
struct PreparedViews {
  std::shared_ptr<const TextViewLines> Text;  // the job's text view
  std::optional<std::vector<GridRow>> Rows;   // the grid's rows
};
PreparedViews PrepareViews(const WorkingData& data, DataKind dataKind, const Settings& settings,
                           TaskProgress* progress = nullptr);

// The number after "Total: " for the current DataKind; none when its list is empty (the
// status bar then keeps what it showed).
std::optional<std::size_t> ShownCount(const WorkingData& data);

}  // namespace theolink
