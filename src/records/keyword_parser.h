#pragma once
// Reading the instrument's keyword lines: joining lines into record texts, the job header,
// and one record text into a measurement record. Results are codes, never messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/line_list.h"
#include "records/measure_record.h"

namespace theolink {

// 0 ok; -1 empty input; -2 unknown keyword; -3 continuation line without an open record.
// On failure output keeps what was appended so far.
std::int32_t PreprocessLines(const LineList& input, LineList& output);
// The same, also giving the index of the input line that stopped it (0 on success or -1).
std::int32_t PreprocessLines(const LineList& input, LineList& output, std::size_t& failedLine);

// 0 and the untrimmed value from character 9; -1 text of 8 characters or fewer;
// -2 keyword is not JOB (INST).
std::int32_t ReadJobHeader(std::string_view entry, std::string& value);
std::int32_t ReadInstHeader(std::string_view entry, std::string& value);

// 0 ok; -1 unexpected keyword; -2 wrong item count; -3 a line of 8 characters or fewer;
// -4 not a record keyword; -5 a value is not a number (after printing "Excption: %s\n").
// Names and codes longer than a record holds are cut; cuts (when given) counts them.
std::int32_t ParseRecord(std::string_view recordText, int angleForm, int distanceForm, MeasureRecord& record,
                         std::size_t* cuts = nullptr);
// ParseRecord in the instrument forms: whole arc seconds and metres.
std::int32_t ParseRecordText(std::string_view recordText, MeasureRecord& record, std::size_t* cuts = nullptr);

// Cuts text at every separator, keeping empty fields, and appends each field trimmed.
// Returns the number of fields appended (an empty text gives one empty field).
int SplitFields(std::string_view text, char separator, LineList& fields);

}  // namespace theolink
