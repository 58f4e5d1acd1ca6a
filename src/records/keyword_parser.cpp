#include "records/keyword_parser.h"

#include <array>

#include "records/default_names.h"
#include "records/diagnostics.h"
#include "records/text_trim.h"
#include "records/value_forms.h"

namespace theolink {
namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::int32_t kNotARecord = 8;
constexpr std::size_t kMaxItems = 12;  // the longest record, SC with observation
constexpr std::size_t kNoteCapacity = 255;

// The items of a record as views into its text. Only the first kMaxItems are kept, but
// Count goes on, so an over-long record is still told apart by its count; parsing a
// record allocates nothing.
struct ItemList {
  std::array<std::string_view, kMaxItems> Items{};
  std::size_t Count = 0;

  void Add(std::string_view item) {
    if (Count < kMaxItems) Items[Count] = item;
    ++Count;
  }
  std::string_view operator[](std::size_t i) const { return Items[i]; }
};

void AddFields(std::string_view value, ItemList& items) {
  // Fields are a few characters long: a plain scan beats a library search per field.
  std::size_t from = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != ',') continue;
    items.Add(Trim(value.substr(from, i - from)));
    from = i + 1;
  }
  items.Add(Trim(value.substr(from)));
}

bool AddLine(std::string_view line, ItemList& items) {
  if (line.size() <= 8) return false;
  items.Add(LineKeyword(line));
  AddFields(line.substr(8), items);
  return true;
}

// RecordOk, or RecordShortLine for a line of 8 characters or fewer.
RecordResult BuildItems(std::string_view text, ItemList& items) {
  // A one-line record is taken untrimmed; the lines of a longer one trimmed.
  if (text.find('|') == npos) return AddLine(text, items) ? RecordOk : RecordShortLine;
  for (;;) {
    const std::size_t bar = text.find('|');
    if (!AddLine(Trim(text.substr(0, bar)), items)) return RecordShortLine;
    if (bar == npos) return RecordOk;
    text.remove_prefix(bar + 1);
  }
}

std::int32_t RecordKindOf(std::string_view keyword) {
  if (keyword == "STA") return KindStation;
  if (keyword == "BS") return KindBacksight;
  if (keyword == "BKB") return KindBearing;
  if (keyword == "SA") return KindAngleShot;
  if (keyword == "SD") return KindSlopeShot;
  if (keyword == "SC") return KindCoordShot;
  if (keyword == "NOTE") return KindNote;
  return kNotARecord;
}

// The part of a field that a fixed text keeps. A zero byte ends a stored text, and blanks
// left at the end by the cut would be trimmed away when the text is read again, so both
// are dropped here: what is stored is what a written record reads back as.
std::string_view StoredText(std::string_view field, std::size_t capacity) {
  field = field.substr(0, field.find('\0'));
  return TrimEnd(field.substr(0, capacity));
}

struct ValueReader {
  int AngleForm;
  int DistanceForm;
  std::size_t* Cuts = nullptr;  // counts names and codes cut to fit the record
  double A(std::string_view text) const { return ParseAngle(text, AngleForm); }
  double D(std::string_view text) const { return ParseDistance(text, DistanceForm); }
  std::string_view Stored(std::string_view field) const {
    const std::string_view kept = StoredText(field, NameText::Capacity);
    if (Cuts != nullptr && kept.size() < TrimEnd(field.substr(0, field.find('\0'))).size()) ++*Cuts;
    return kept;
  }
};

void StoreName(NameText& target, std::string_view field, const ValueReader& v) {
  const std::string_view text = v.Stored(field);
  target.Assign(text.empty() ? kNoName : text);
}

void StoreCode(NameText& target, std::string_view field, const ValueReader& v) { target.Assign(v.Stored(field)); }

// Each reader below converts every value first (a failure raises ConversionError), then
// checks the keywords, and stores the body only when both passed.

RecordResult ReadStation(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 8) return RecordWrongItemCount;
  StationBody body{};
  body.InstrumentHeight = v.D(it[2]);
  body.X = v.D(it[5]);
  body.Y = v.D(it[6]);
  body.Z = v.D(it[7]);
  if (it[0] != "STA" || it[4] != "XYZ") return RecordUnexpectedKeyword;
  StoreName(body.Name, it[1], v);
  StoreCode(body.Code, it[3], v);
  record.Station = body;
  return RecordOk;
}

RecordResult ReadBacksight(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 7) return RecordWrongItemCount;
  BacksightBody body{};
  body.TargetHeight = v.D(it[2]);
  body.HorizontalAngle = v.A(it[4]);
  body.VerticalAngle = v.A(it[5]);
  body.SlopeDistance = v.D(it[6]);
  if (it[0] != "BS" || it[3] != "HVD") return RecordUnexpectedKeyword;
  StoreName(body.Name, it[1], v);
  body.HasBacksightPoint = 0;
  record.Backsight = body;
  return RecordOk;
}

RecordResult ReadBearing(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 4) return RecordWrongItemCount;
  BearingBody body{};
  body.FirstAngle = v.A(it[2]);
  body.SecondAngle = v.A(it[3]);
  if (it[0] != "BKB") return RecordUnexpectedKeyword;
  StoreName(body.Name, it[1], v);
  record.Bearing = body;
  return RecordOk;
}

RecordResult ReadAngleShot(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 7) return RecordWrongItemCount;
  AngleShotBody body{};
  body.TargetHeight = v.D(it[2]);
  body.HorizontalAngle = v.A(it[5]);
  body.VerticalAngle = v.A(it[6]);
  if (it[0] != "SA" || it[4] != "HV") return RecordUnexpectedKeyword;
  StoreName(body.Name, it[1], v);
  StoreCode(body.Code, it[3], v);
  record.AngleShot = body;
  return RecordOk;
}

RecordResult ReadSlopeShot(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 8) return RecordWrongItemCount;
  SlopeShotBody body{};
  body.TargetHeight = v.D(it[2]);
  body.HorizontalAngle = v.A(it[5]);
  body.VerticalAngle = v.A(it[6]);
  body.SlopeDistance = v.D(it[7]);
  if (it[0] != "SD" || it[4] != "HVD") return RecordUnexpectedKeyword;
  StoreName(body.Name, it[1], v);
  StoreCode(body.Code, it[3], v);
  record.SlopeShot = body;
  return RecordOk;
}

RecordResult ReadCoordShot(const ItemList& it, const ValueReader& v, MeasureRecord& record) {
  if (it.Count != 8 && it.Count != 12) return RecordWrongItemCount;
  const bool observed = it.Count == 12;
  const std::size_t at = observed ? 8 : 4;  // the coordinate keyword
  const std::string_view coordKeyword = it[at];
  const bool eastFirst = coordKeyword == "ENZ";
  if (!eastFirst && coordKeyword != "NEZ") return RecordUnexpectedKeyword;
  CoordShotBody body{};
  body.TargetHeight = v.D(it[2]);
  if (observed) {
    body.HorizontalAngle = v.A(it[5]);
    body.VerticalAngle = v.A(it[6]);
    body.SlopeDistance = v.D(it[7]);
  }
  const double first = v.D(it[at + 1]);
  const double second = v.D(it[at + 2]);
  body.Elevation = v.D(it[at + 3]);
  if (it[0] != "SC" || (observed && it[4] != "HVD")) return RecordUnexpectedKeyword;
  body.East = eastFirst ? first : second;
  body.North = eastFirst ? second : first;
  body.HasObservation = observed ? 1 : 0;
  StoreName(body.Name, it[1], v);
  StoreCode(body.Code, it[3], v);
  record.CoordShot = body;
  return RecordOk;
}

// A NOTE takes the whole rest of its line, '|' included, and never a comma: commas
// would read as field separators wherever the text goes next.
RecordResult ReadNote(std::string_view text, MeasureRecord& record) {
  if (Trim(text.substr(0, 8)) != "NOTE") return RecordUnexpectedKeyword;
  const std::string_view value = text.size() > 8 ? Trim(text.substr(8)) : std::string_view();
  const std::string_view kept = StoredText(value, kNoteCapacity);
  NoteBody body{};
  std::array<char, kNoteCapacity> buffer{};
  for (std::size_t i = 0; i < kept.size(); ++i) buffer[i] = kept[i] == ',' ? ';' : kept[i];
  body.Text.Assign(std::string_view(buffer.data(), kept.size()));
  record.Note = body;
  return RecordOk;
}

RecordResult ReadRecord(std::string_view text, const ValueReader& reader, MeasureRecord& record) {
  const std::int32_t kind = RecordKindOf(LineKeyword(text));
  if (kind == kNotARecord) return RecordNotARecord;
  record.Kind = kind;
  if (kind == KindNote) return ReadNote(text, record);
  ItemList items;
  if (const RecordResult built = BuildItems(text, items); built != RecordOk) return built;
  switch (kind) {
    case KindStation: return ReadStation(items, reader, record);
    case KindBacksight: return ReadBacksight(items, reader, record);
    case KindBearing: return ReadBearing(items, reader, record);
    case KindAngleShot: return ReadAngleShot(items, reader, record);
    case KindSlopeShot: return ReadSlopeShot(items, reader, record);
    default: return ReadCoordShot(items, reader, record);
  }
}

}  // namespace

RecordResult ParseRecord(std::string_view recordText, int angleForm, int distanceForm, MeasureRecord& record,
                         std::size_t* cuts) {
  try {
    return ReadRecord(recordText, ValueReader{angleForm, distanceForm, cuts}, record);
  } catch (const ConversionError& e) {
    ReportConversionError(e.what());
    return RecordBadNumber;
  }
}

RecordResult ParseRecordText(std::string_view recordText, MeasureRecord& record, std::size_t* cuts) {
  return ParseRecord(recordText, AngleSeconds, DistanceMetre, record, cuts);
}

int SplitFields(std::string_view text, char separator, LineList& fields) {
  int count = 0;
  for (;;) {
    const std::size_t at = text.find(separator);
    fields.emplace_back(Trim(text.substr(0, at)));
    ++count;
    if (at == npos) return count;
    text.remove_prefix(at + 1);
  }
}

}  // namespace theolink
