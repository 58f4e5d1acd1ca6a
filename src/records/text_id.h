#pragma once
// Identifiers of the program's bilingual texts. Lower layers report what the user must read
// as one of these; the application layer's text table turns it into Chinese or English.
#include <cstdint>

namespace theolink {

enum class TextId : std::uint8_t {
  // Window and control captions
  Title,
  ComportSettingGroup,
  PortLabel,
  BaudLabel,
  TransControlGroup,
  ReceiveBtn,
  SendBtn,
  StopBtn,
  CoordBtn,
  CodeBtn,
  OpenBtn,
  SaveBtn,
  SettingBtn,
  HelpBtn,
  AppendBtn,
  InsertBtn,
  DelBtn,
  OKBtn,
  AngUnitLabel,
  DistUnitLabel,
  KOptionLabel,
  GridScaleLabel,
  CoordOrderLabel,
  ResetBtn,
  ConfirmBtn,
  ComputeShotsCheck,
  // Grid headers
  HeaderPointNum,
  HeaderPointName,
  HeaderNorth,
  HeaderEast,
  HeaderElevation,
  HeaderCode,
  // Status texts
  TotalPrefix,
  TxPrefix,
  RxPrefix,
  CurrentUnitPrefix,
  ReceiveHint,
  SendHint,
  Receiving,
  SendStarted,
  Stopped,
  PortSettingsError,
  OperationComplete,
  SentSuccessfully,
  // Results of reading a file
  LoadSuccessfully,
  FileNotExists,
  FileIsEmpty,
  ErrorWhileReading,
  UndefinedDataType,
  BadDataInFile,
  IncorrectFileFormat,
  UndefinedErrorCode,
  UnableToOpenFile,
  // Notices
  NoHelpFile,
  HelpFileDamaged,
  NoComportFound,
  UnableToOpenEmptyFile,
  WrongFileFormat,
  NoDataToSave,
  EmptyUpload,
  NoCoordinatePoint,
  WrongCoordinateFormat,
  MilNotSupported,
  NoValidData,
  TooManyChar,
  OversizeOrUndersize,
  TooManyData,
  IllegalDataType,
  GridScaleRange,
  IllegalCharacter,
  // Questions (message; the caption comes with it)
  AskClearData,
  AskExtraction,
  AskReplaceFile,
  AskDeleteRow,
  // Texts for outcomes the table has no entry for (this program's additions)
  Gts7NameNotGt7,
  WriteFailed,
  LinkDropped,
  RawCopyKept,
  LineCutShort,
  InstrumentStoppedReading,
  ReceiveLimitReached,
  RawCopyKeepsAll,
  WrittenInPlace,
  FileCutShort,
  RawCopyFailed,
  ReceiveLimitStatus,
  GridScaleDecimals,
  GridScaleFileRefused,
  Count_  // number of entries; not a text
};

// The file dialog filters.
enum class FilterId : std::uint8_t { Open, SaveMeasure, SaveCoord, SaveCode };

}  // namespace theolink
