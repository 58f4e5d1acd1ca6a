#pragma once
// Reading the instrument's keyword lines: joining lines into record texts, the job header,
// and one record text into a measurement record. Results are codes, never messages.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "records/line_list.h"
#include "records/line_source.h"
#include "records/measure_record.h"

namespace theolink {

// The numbers of these results are the ones the window's loader and `check` report, so
// they stay as they are; the texts are in records/result_texts.h.
enum PreprocessResult : std::int32_t {
  PreprocessOk = 0,
  PreprocessEmptyInput = -1,
  PreprocessUnknownKeyword = -2,
  PreprocessOrphanContinuation = -3,  // a continuation line without an open record
};
enum HeaderResult : std::int32_t {
  HeaderOk = 0,
  HeaderTooShort = -1,      // text of 8 characters or fewer
  HeaderWrongKeyword = -2,  // the keyword is not JOB (INST)
};
enum RecordResult : std::int32_t {
  RecordOk = 0,
  RecordUnexpectedKeyword = -1,
  RecordWrongItemCount = -2,
  RecordShortLine = -3,  // a line of 8 characters or fewer
  RecordNotARecord = -4,
  RecordBadNumber = -5,  // after the conversion diagnostic (records/diagnostics.h)
};

// Joins continuation lines into record texts. On failure output keeps what was appended so far.
PreprocessResult PreprocessLines(const LineList& input, LineList& output);
// The same, also giving the index of the input line that stopped it (0 on success or
// PreprocessEmptyInput).
PreprocessResult PreprocessLines(const LineList& input, LineList& output, std::size_t& failedLine);

// The entries PreprocessLines makes, handed to visit one at a time instead of built into a
// list: a one-line entry is the input line itself, a longer one is joined into a buffer that
// the next entry reuses. With join off, visit gets only the first line of each entry.
// A false from visit stops the walk (the result is then PreprocessOk).
using EntryVisitor = std::function<bool(std::string_view entry)>;
PreprocessResult WalkEntries(LineSpan input, bool join, std::size_t& failedLine, const EntryVisitor& visit);
// The same over lines read one at a time; failedText (when given) receives the line that
// stopped the walk.
PreprocessResult WalkEntries(LineSource& input, bool join, std::size_t& failedLine, const EntryVisitor& visit,
                             std::string* failedText = nullptr);

// HeaderOk and the untrimmed value from character 9.
HeaderResult ReadJobHeader(std::string_view entry, std::string& value);
HeaderResult ReadInstHeader(std::string_view entry, std::string& value);

// Reads one record text; a failure leaves the record's body as it was. Names and codes longer
// than a record holds are cut; cuts (when given) counts them.
RecordResult ParseRecord(std::string_view recordText, int angleForm, int distanceForm, MeasureRecord& record,
                         std::size_t* cuts = nullptr);
// ParseRecord in the instrument forms: whole arc seconds and metres.
RecordResult ParseRecordText(std::string_view recordText, MeasureRecord& record, std::size_t* cuts = nullptr);

// Cuts text at every separator, keeping empty fields, and appends each field trimmed.
// Returns the number of fields appended (an empty text gives one empty field).
int SplitFields(std::string_view text, char separator, LineList& fields);

}  // namespace theolink
