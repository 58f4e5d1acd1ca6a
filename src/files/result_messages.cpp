#include "files/result_messages.h"

#include "files/file_io.h"
#include "files/file_open.h"
#include "records/binary_file.h"

namespace theolink {
ShownMessage ProbeMessage(int code) {
  switch (code) {
    case ProbeText:
      return ShownMessage{std::nullopt, "NO ERROR(Text File)", {}};
    case ProbeBinary:
      return ShownMessage{std::nullopt, "NO ERROR(Binary File)", {}};
    case ProbeCannotOpen:
      return TableMessage(TextId::UnableToOpenFile);
    case ProbeEmpty:
      return TableMessage(TextId::FileIsEmpty);
    case ProbeReadFailed:
      return TableMessage(TextId::ErrorWhileReading);
    default:
      return TableMessage(TextId::UndefinedErrorCode);
  }
}

ShownMessage BinaryReadMessage(int code) {
  switch (code) {
    case kBinaryOk:
      return TableMessage(TextId::LoadSuccessfully);
    case kBinaryCannotOpen:
      return TableMessage(TextId::FileNotExists);
    case kBinaryEmpty:
      return TableMessage(TextId::FileIsEmpty);
    case kBinaryReadFailed:
      return TableMessage(TextId::ErrorWhileReading);
    case kBinaryBadRecordType:
      return TableMessage(TextId::UndefinedDataType);
    case kBinaryBadData:
      return TableMessage(TextId::BadDataInFile);
    case kBinaryBadFileType:
      return TableMessage(TextId::IncorrectFileFormat);
    case kBinaryCutShort:
      return TableMessage(TextId::FileCutShort);
    default:
      return TableMessage(TextId::UndefinedErrorCode);
  }
}

ShownMessage BinaryReadMessage(int code, const std::string& path) {
  if (code == kBinaryEmpty) {
    FileDescriptor fd;
    char byte = 0;
    if (OpenRegularFile(path, fd).Ok() && ReadSome(fd.Get(), &byte, 1) > 0) return TableMessage(TextId::WrongFileFormat);
  }
  return BinaryReadMessage(code);
}

std::string_view MeasureLoadText(JobCheckStage stage) {
  switch (stage) {
    case JobCheckStage::Passed: return "OK";
    case JobCheckStage::TooFewLines: return "ERROR: 2 lines expected at least";
    case JobCheckStage::Preprocess: return "ERROR: preprocess lines failed";
    case JobCheckStage::Record: return "ERROR: load record item failed";
  }
  return "ERROR: load record item failed";
}

}  // namespace theolink
