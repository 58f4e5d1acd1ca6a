#include "records/result_texts.h"

#include "records/keyword_parser.h"

namespace theolink {

std::string_view PreprocessFailureText(std::int32_t code) {
  switch (code) {
    case PreprocessOk: return "ok";
    case PreprocessEmptyInput: return "no lines";
    case PreprocessUnknownKeyword: return "unknown keyword";
    case PreprocessOrphanContinuation: return "continuation line without a record";
    default: return "unknown result";
  }
}

std::string_view RecordFailureText(std::int32_t code) {
  switch (code) {
    case RecordOk: return "ok";
    case RecordUnexpectedKeyword: return "unexpected keyword";
    case RecordWrongItemCount: return "wrong number of items";
    case RecordShortLine: return "line of 8 characters or fewer";
    case RecordNotARecord: return "not a record keyword";
    case RecordBadNumber: return "value is not a number";
    default: return "unknown result";
  }
}

}  // namespace theolink
