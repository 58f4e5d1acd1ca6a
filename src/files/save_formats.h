#pragma once
// Every format Save and the command line write, one row each: its name on the command
// line, the data kind it saves, its entry in the save dialog in both languages (the
// pattern names the default extension), how it is written and which settings it obeys.
// The save dialog lists a kind's rows in table order; its filter index counts them from 1.
// A new format is a row here and its writer.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/line_sink.h"
#include "files/task_progress.h"
#include "files/working_data.h"
#include "records/settings.h"
#include "records/text_id.h"

namespace theolink {

// How the rows of a format are made.
enum class SaveWriter : std::uint8_t {
  MeasureCsv,  // a row per station and observation
  Gts7Hd,      // GTS-7 measured, observations with horizontal distances
  Gts7Sd,      // GTS-7 measured, observations with slope distances
  Gts7All,     // GTS-7 measured, every record
  WorkFile,    // the keyword lines of the job
  Points,      // the points (a job's extracted ones): SaveFormat::WritePoints
  Codes,       // a line per code
};

// Why an export writes nothing: the table message and the value of its %1, if any.
struct ExportRefusal {
  TextId Id;
  std::string Value = {};
  friend bool operator==(const ExportRefusal&, const ExportRefusal&) = default;
};

// Writes a point list (the whole file, header and all), or refuses before any line.
using PointWriter = std::optional<ExportRefusal> (*)(const WorkingData& points, LineOut lines,
                                                     const Settings& settings, TaskProgress* progress);

// What a format takes from the settings beyond the units every number is written in.
enum SaveFormatUse : unsigned {
  kUsesReducedShots = 1u << 0,  // a job's points: the reduced shots join them when asked
  kNeedsGt7Name = 1u << 1,      // written only to a name ending in ".gt7", never in mil
  kUsesKAndGridScale = 1u << 2,  // heights and horizontal distances reduced by K and the scale
  kNeedsCrs = 1u << 3,           // longitude and latitude: settings.Crs must name the system
};

struct SaveFormat {
  DataKind Kind;             // the data kind it saves
  std::string_view Name;     // convert --to NAME; several rows may share one, the first is meant
  std::string_view Chinese;  // the dialog's entry, with its pattern in parentheses
  std::string_view English;
  std::string_view ChinesePattern;  // "*.dat": also the default extension
  std::string_view EnglishPattern;
  SaveWriter Writer;
  PointWriter WritePoints = nullptr;  // SaveWriter::Points only
  bool NeedsAllPoints = false;        // the file's header bounds every point (a drawing)
  unsigned Uses = 0;                  // SaveFormatUse bits
  std::string_view Help = {};         // the command line's description; empty: not listed
};

std::span<const SaveFormat> SaveFormats();
// The row of filter index (from 1) among the kind's rows; nullptr outside them.
const SaveFormat* SaveFormatAt(DataKind kind, int filterIndex);
// The first row of that name for the kind; nullptr when it offers none.
const SaveFormat* FindSaveFormat(DataKind kind, std::string_view name);
// True when some kind offers a format of that name.
bool IsSaveFormatName(std::string_view name);
// The save dialog's filter for the kind: "description|pattern|..." in table order, in
// language 0 (Chinese) or any other (English).
std::string SaveFilterText(DataKind kind, int language);

inline bool Uses(const SaveFormat& format, SaveFormatUse use) { return (format.Uses & use) != 0; }

}  // namespace theolink
