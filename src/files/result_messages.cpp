#include "files/result_messages.h"

#include "files/file_io.h"
#include "files/file_open.h"
#include "records/binary_file.h"

namespace theolink {
UserMessage ProbeMessage(int code) {
  switch (code) {
    case ProbeText:
      return FixedMessage("NO ERROR(Text File)");
    case ProbeBinary:
      return FixedMessage("NO ERROR(Binary File)");
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

UserMessage BinaryReadMessage(int code) {
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

UserMessage BinaryReadMessage(int code, const std::string& path) {
  if (code == kBinaryEmpty) {
    FileDescriptor fd;
    char byte = 0;
    if (OpenRegularFile(path, fd).Ok() && ReadSome(fd.Get(), &byte, 1) > 0) return TableMessage(TextId::WrongFileFormat);
  }
  return BinaryReadMessage(code);
}

UserMessage MeasureLoadMessage(JobCheckStage stage) {
  const auto failed = [stage](const char* text) {
    UserMessage message = FixedMessage(text, "Error");
    message.Code = static_cast<int>(stage);
    return message;
  };
  switch (stage) {
    case JobCheckStage::Passed: return {};
    case JobCheckStage::TooFewLines: return failed("ERROR: 2 lines expected at least");
    case JobCheckStage::Preprocess: return failed("ERROR: preprocess lines failed");
    case JobCheckStage::Record: return failed("ERROR: load record item failed");
  }
  return failed("ERROR: load record item failed");
}

}  // namespace theolink
