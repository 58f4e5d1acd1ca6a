#include "files/result_messages.h"

#include <array>
#include <span>

#include "files/file_io.h"
#include "files/file_open.h"
#include "records/binary_file.h"

namespace theolink {
namespace {

struct CodeText {
  int Code;
  TextId Text;
};

// The table text of code in rows; codes without a row have no defined text.
UserMessage TextOfCode(std::span<const CodeText> rows, int code) {
  for (const CodeText& row : rows)
    if (row.Code == code) return TableMessage(row.Text);
  return TableMessage(TextId::UndefinedErrorCode);
}

constexpr std::array<CodeText, 3> kProbeTexts = {{
    {ProbeCannotOpen, TextId::UnableToOpenFile},
    {ProbeEmpty, TextId::FileIsEmpty},
    {ProbeReadFailed, TextId::ErrorWhileReading},
}};

constexpr std::array<CodeText, 8> kBinaryTexts = {{
    {kBinaryOk, TextId::LoadSuccessfully},
    {kBinaryCannotOpen, TextId::FileNotExists},
    {kBinaryEmpty, TextId::FileIsEmpty},
    {kBinaryReadFailed, TextId::ErrorWhileReading},
    {kBinaryBadRecordType, TextId::UndefinedDataType},
    {kBinaryBadData, TextId::BadDataInFile},
    {kBinaryBadFileType, TextId::IncorrectFileFormat},
    {kBinaryCutShort, TextId::FileCutShort},
}};

}  // namespace

UserMessage ProbeMessage(int code) {
  if (code == ProbeText) return FixedMessage("NO ERROR(Text File)");
  if (code == ProbeBinary) return FixedMessage("NO ERROR(Binary File)");
  return TextOfCode(kProbeTexts, code);
}

UserMessage BinaryReadMessage(int code) { return TextOfCode(kBinaryTexts, code); }

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
