#pragma once
// Writing measurement records back as keyword lines.
#include <string>
#include <string_view>

#include "records/line_list.h"
#include "records/measure_record.h"

namespace theolink {

// The record's keyword lines joined by '|', angles and lengths in the given form codes.
// A kind outside 1..7 gives "wrong type in record item".
std::string FormatRecord(const MeasureRecord& record, int angleForm, int distanceForm);
// FormatRecord appended to text, so that one buffer serves every record.
void AppendRecord(std::string& text, const MeasureRecord& record, int angleForm, int distanceForm);
// FormatRecord in the instrument forms: whole arc seconds and metres.
std::string FormatRecordText(const MeasureRecord& record);
// Cuts a record text at every '|' and appends each piece, trimmed, to lines.
void SplitRecordText(std::string_view recordText, LineList& lines);
// The same pieces as views into recordText, appended to lines.
void SplitRecordText(std::string_view recordText, LineViews& lines);

}  // namespace theolink
