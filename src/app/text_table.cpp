#include "app/text_table.h"

#include <array>
#include <cstddef>

#include "app/language.h"
#include "records/binary_layout_table.h"

namespace theolink {
namespace {

struct TextEntry {
  TextId id;
  std::string_view chinese;
  std::string_view english;
  // Only questions carry captions.
  std::string_view chineseCaption = {};
  std::string_view englishCaption = {};
};

// UTF-8 source; see text_table.h for the representation.
constexpr TextEntry kTexts[] = {
    {TextId::Title, "全站仪传输软件", "Theolink II"},
    {TextId::ComportSettingGroup, "串口设置", "ComPort Setup"},
    {TextId::PortLabel, "串口号", "ComPort"},
    {TextId::BaudLabel, "波特率", "BaudRate"},
    {TextId::TransControlGroup, "传输控制", "TransControl"},
    {TextId::ReceiveBtn, "接收", "Receive"},
    {TextId::SendBtn, "发送", "Send"},
    {TextId::StopBtn, "停止", "Stop"},
    {TextId::CoordBtn, "坐标", "Coord"},
    {TextId::CodeBtn, "编码", "Code"},
    {TextId::OpenBtn, "打开", "Open"},
    {TextId::SaveBtn, "保存", "Save"},
    {TextId::SettingBtn, "设置", "Setting"},
    {TextId::HelpBtn, "帮助", "Help"},
    {TextId::AppendBtn, "添加", "Append"},
    {TextId::InsertBtn, "插入", "Insert"},
    {TextId::DelBtn, "删除", "Delete"},
    {TextId::OKBtn, "返回", "Return"},
    {TextId::AngUnitLabel, "角度单位", "Angle Unit"},
    {TextId::DistUnitLabel, "距离单位", "Dist Unit"},
    {TextId::KOptionLabel, "两差系数", "K Option"},
    {TextId::GridScaleLabel, "格网因子", "Grid Scale"},
    {TextId::CoordOrderLabel, "坐标顺序", "Coord Order"},
    {TextId::ResetBtn, "重置", "Reset"},
    {TextId::ConfirmBtn, "确定", "Confirm"},
    {TextId::ComputeShotsCheck, "计算测点坐标", "compute shot coordinates"},
    {TextId::HeaderPointNum, "序号", "Point Num"},
    {TextId::HeaderPointName, "点号(Pt)", "Point name"},
    {TextId::HeaderNorth, "北坐标(N)", "North coordinates"},
    {TextId::HeaderEast, "东坐标(E)", "East coordinates"},
    {TextId::HeaderElevation, "高程(Z)", "Elevation(Z)"},
    {TextId::HeaderCode, "编码", "Code"},
    {TextId::TotalPrefix, "总计: ", "Total: "},
    {TextId::TxPrefix, "发送: ", "Tx: "},
    {TextId::RxPrefix, "接收: ", "Rx: "},
    {TextId::CurrentUnitPrefix, "当前单位: ", "Current Unit: "},
    {TextId::ReceiveHint, "接收数据: 单击界面中的 \"接收\" 按钮后,20秒内按下仪器上的 \"导出\" 按钮", "Receive data:Click \"Receive\" button within 20 seconds after the instrument click the \"Export\" button"},
    {TextId::SendHint, "发送数据: 单击界面中的 \"发送\" 按钮后,20秒内按下仪器上的 \"导入\" 按钮", "Send data:Click \"Send\" button within 20 seconds after the instrument click the \"Import\" button"},
    {TextId::Receiving, "发送中，如果你想停止, 请按停止按钮", "Sending，If you want to stop, press the stop button"},
    {TextId::SendStarted, "开始传输文件！", "Start transferring files!"},
    {TextId::Stopped, "停止操作！", "Stop the operation!"},
    {TextId::PortSettingsError, "串口设置错误！", "Serial port settings error!"},
    {TextId::OperationComplete, "操作完成！", "Operation is complete!"},
    {TextId::SentSuccessfully, "发送成功！", "Sent successfully!"},
    {TextId::LoadSuccessfully, "加载成功", "load successfully"},
    {TextId::FileNotExists, "文件不存在或权限不足", "file not exists or permission denny"},
    {TextId::FileIsEmpty, "文件为空", "file is empty"},
    {TextId::ErrorWhileReading, "文件内容读取错误", "error occurred while reading"},
    {TextId::UndefinedDataType, "文件存在未定义的数据类型", "undefined data type in file"},
    {TextId::BadDataInFile, "文件数据损坏", "bad data in file"},
    {TextId::IncorrectFileFormat, "文件格式错误", "incorrect file format"},
    {TextId::UndefinedErrorCode, "未定义的错误代码", "undefined error code"},
    {TextId::UnableToOpenFile, "无法打开文件", "unable to open file"},
    {TextId::NoHelpFile, "未能找到帮助文件！", "No HELP file can be found."},
    {TextId::HelpFileDamaged, "帮助文件已损坏", "The HELP file has been damaged."},
    {TextId::NoComportFound, "无任何可用串口!", "No any Comport found!"},
    {TextId::UnableToOpenEmptyFile, "不能打开空文件！", "Unable to open an empty file!"},
    {TextId::WrongFileFormat, "错误的文件格式.", "Wrong file format."},
    {TextId::NoDataToSave, "没有数据可供保存.", "No data to save."},
    {TextId::EmptyUpload, "不能上传空文件到仪器！", "Can not upload an empty file to the instrument!"},
    {TextId::NoCoordinatePoint, "此测量数据中没有坐标点！", "No coordinate point in the measurement data."},
    {TextId::WrongCoordinateFormat, "输入的坐标格式不正确", "Wrong coordinate format in grid."},
    {TextId::MilNotSupported, "角度单位 MIL 不支持导出 GTS-7 文件.", "The angle unit MIL does NOT support exporting as GTS-7 file."},
    {TextId::NoValidData, "该文件无有效数据！", "The file has no valid data!"},
    {TextId::TooManyChar, "名字过长！", "Too many char!"},
    {TextId::OversizeOrUndersize, "数据过大或过小！", "Oversize or Undersize!"},
    {TextId::TooManyData, "数据字段过长！", "Too many data!"},
    {TextId::IllegalDataType, "不是合法的数字类型！", "Illegal data type!"},
    {TextId::GridScaleRange, "请输入 0.9-1.1 之间的数值", "Please input the number between 0.9 and 1.1."},
    {TextId::IllegalCharacter, "输入中含有不合法字符类型,请检查修改。", "The inputs contain illegal character type."},
    {TextId::AskClearData, "此操作将清空当前数据，确认要继续吗？", "This operation will clear all data. Sure to continue?", "提示", "Warning"},
    {TextId::AskExtraction, "确定要提取坐标吗？提取后将清除测量数据.", "Are you sure to extraction coordinate points? The measurement data will be cleared.", "提示", "Warning"},
    {TextId::AskReplaceFile, "你确认要替换当前文件？", "Are you sure you want to replace the current file?", "文件替换", "File replace"},
    {TextId::AskDeleteRow, "确定要删除该数据？", "Are you sure you want to delete the data?", "删除", "Delete"},
    // Additions: these two failures had no message of their own.
    {TextId::Gts7NameNotGt7, "文件名必须以 .gt7 结尾，未写入任何内容。",
     "The file name must end in .gt7; nothing was written."},
    {TextId::WriteFailed, "无法写入文件。", "The file could not be written."},
    {TextId::LinkDropped, "连接已断开：仪器已挂断，已收到的数据已保留。", "The link dropped: the instrument hung up. What came is kept."},
    {TextId::RawCopyKept, "原始数据：", "Raw copy: "},
    // %1 line, %2 lines in all, %3 its name, %4 why, %5 lines sent whole.
    {TextId::LineCutShort, "第 %1 行（共 %2 行，%3）未完整发出：%4；已完整发出 %5 行",
     "line %1 of %2 (%3) was cut short: %4; %5 lines were sent whole"},
    {TextId::InstrumentStoppedReading, "仪器停止了接收", "the instrument stopped reading"},
    // %1 the limit in bytes.
    {TextId::ReceiveLimitReached, "已达大小上限（%1 字节）：接收已停止，未载入任何数据。",
     "Size limit reached (%1 bytes): the receive stopped and nothing was loaded."},
    {TextId::RawCopyKeepsAll, "原始数据副本保留了已收到的全部内容。", "The raw copy keeps what came."},
    {TextId::WrittenInPlace, "文件所在的文件夹不允许新建文件，已直接改写原文件；此次写入不是原子写入。",
     "The file was written in place, as its folder allows no new file; the write was not atomic."},
    {TextId::FileCutShort, "文件被截断：最后一条记录不完整", "file is cut short: its last record is incomplete"},
    // %1 the file and the system's reason.
    {TextId::RawCopyFailed, "接收数据的原始副本不完整：%1", "The raw copy of the received bytes is incomplete: %1"},
    // Status panel 0's short form of ReceiveLimitReached; %1 the limit in bytes.
    {TextId::ReceiveLimitStatus, "已达大小上限（%1 字节）", "Size limit reached (%1 bytes)"},
    // Follows NoComportFound in status panel 0 when no port is present at the start.
    {TextId::NoComportHint, "请插好电缆或 USB 串口适配器；打开串口列表时会重新查找。",
     "Plug the cable or USB adapter in; the list is read again when you open it."},
    // What to do about a port that would not open; %1 the port.
    {TextId::PortAdviceNoPermission,
     "无权使用 %1：请把自己加入拥有它的用户组（通常为 dialout，例如 sudo adduser $USER dialout），然后重新登录。",
     "You may not use %1: add yourself to the group that owns it (usually 'dialout', for example: sudo adduser "
     "$USER dialout), then log out and in again."},
    {TextId::PortAdviceBusy, "%1 正被占用：另一个程序占用了该串口，请关闭它后重试。",
     "%1 is busy: another program holds the port; close it and try again."},
    {TextId::PortAdviceMissing, "%1 不存在：电缆或 USB 串口适配器插好了吗？打开串口列表可查看现有串口。",
     "%1 is not there: is the cable or USB adapter plugged in? 'theolink-cli ports' lists the ports present."},
    // Accessible names of controls that have no caption.
    {TextId::MeasTextName, "测量数据", "Measurement data"},
    {TextId::StrGridName, "数据表格", "Data grid"},
    {TextId::FileControlGroupName, "文件控制", "File control"},
    // What each status panel is for, for screen readers.
    {TextId::StatusMessageRole, "消息", "Message"},
    {TextId::StatusCountRole, "计数", "Count"},
    {TextId::StatusHintRole, "提示", "Hint"},
    {TextId::GridScaleDecimals, "格网因子最多保留六位小数（例如 0.9996 或 1.000123）。",
     "The grid scale keeps at most six decimals (for example 0.9996 or 1.000123)."},
    // %1 the value as the settings file holds it.
    {TextId::GridScaleFileRefused, "设置文件中的格网因子 %1 超过六位小数，已改用 1.00。",
     "The grid scale %1 in the settings file has more than six decimals; 1.00 is used."},
    // %1 the number of targets.
    {TextId::FaceMeansReduced, "盘左盘右均有观测的目标：%1 个；每个按两盘平均值计算。",
     "Targets read in both faces: %1; each gives the mean of its two faces."},
    // The station check. %1 and %2 unit names, %3 K, %4 the grid scale, %5 the length
    // limit, %6 the angle limit.
    {TextId::CheckHeading, "测站检查：长度单位 %1，角度单位 %2，K %3，格网因子 %4；长度超过 %5、角度超过 %6 时警告",
     "Station check: lengths in %1, angles in %2, K %3, grid scale %4; warnings past %5 for lengths and %6 for angles"},
    {TextId::CheckNoStation, "作业中没有测站。", "The job has no station set-up."},
    // %1 the station; in the check lines after it %1 names a point and the rest are values.
    {TextId::CheckStation, "测站 %1", "Station %1"},
    {TextId::FaceOneName, "盘左", "face I"},
    {TextId::FaceTwoName, "盘右", "face II"},
    // %2 FaceOneName or FaceTwoName.
    {TextId::CheckOrientation, "后视 %1，%2：方位角 %3，读数 %4，定向改正 %5",
     "Backsight %1, %2: bearing %3, angle read %4, orientation correction %5"},
    {TextId::CheckNotOriented, "后视 %1，%2：无可用坐标，测站未定向",
     "Backsight %1, %2: no usable coordinates; the station is not oriented"},
    {TextId::CheckBacksightDistance, "后视 %1：实测平距 %2，反算平距 %3，差值 %4",
     "Backsight %1: horizontal distance measured %2, computed %3, difference %4"},
    // %2 and %4 are dN and dE in the coordinate order.
    {TextId::CheckResidual, "残差 %1：%2 %3，%4 %5，dZ %6，最大 %7", "Residual %1: %2 %3, %4 %5, dZ %6, largest %7"},
    {TextId::CheckNotOrientedShot, "残差 %1：未计算，测站未定向",
     "Residual %1: not reduced, the station is not oriented"},
    {TextId::CheckNoDistanceShot, "残差 %1：未计算，无距离", "Residual %1: not reduced, no distance"},
    {TextId::CheckFaces, "盘左盘右 %1：照准差 %2，指标差 %3，距离差 %4",
     "Faces %1: collimation %2, index %3, distance difference %4"},
    {TextId::CheckFacesNoDistance, "盘左盘右 %1：照准差 %2，指标差 %3", "Faces %1: collimation %2, index %3"},
    // %2 one of the five items below.
    {TextId::CheckWarning, "警告：%1：%2 %3 超过限差 %4", "Warning: %1: %2 %3 passes the limit %4"},
    {TextId::CheckItemResidual, "残差", "residual"},
    {TextId::CheckItemBacksightDistance, "后视距离差", "backsight distance difference"},
    {TextId::CheckItemCollimation, "照准差", "collimation"},
    {TextId::CheckItemIndex, "指标差", "index"},
    {TextId::CheckItemFaceDistance, "盘左盘右距离差", "face distance difference"},
    // %1 the option.
    {TextId::ToleranceNotPositive, "%1 必须是正数", "%1 must be a positive number"},
    // %1 the option.
    {TextId::NeedsMeasurementJob, "%1 需要测量作业", "%1 needs a measurement job"},
    // The plan view.
    {TextId::PlanBtn, "平面图", "Plan"},
    {TextId::FitAllBtn, "全图", "Fit all"},
    {TextId::SavePlanBtn, "保存图片", "Save picture"},
    {TextId::PrintPlanBtn, "打印", "Print"},
    {TextId::PlanViewName, "点位平面图", "Plan of the points"},
    {TextId::PlanResiduals, "残差", "Residuals"},
    {TextId::PlanPictureFilter, "PNG 图片(*.png)|*.png|SVG 图形(*.svg)|*.svg",
     "PNG picture(*.png)|*.png|SVG drawing(*.svg)|*.svg"},
    // %1 the file.
    {TextId::PlanPictureSaved, "平面图已保存到 %1", "The plan was saved to %1"},
    // %1 the file and why.
    {TextId::PlanPictureFailed, "无法保存平面图：%1", "The plan could not be saved: %1"},
    {TextId::CoordSystemLabel, "坐标系", "Coord System"},
    {TextId::CoordSystemNone, "（未选择）", "(none chosen)"},
    {TextId::CrsNotChosen,
     "GeoJSON 和 KML 需要点所在的坐标系：请在“设置”中选择坐标系，命令行用 --crs EPSG:NNNN。未写入任何内容。",
     "GeoJSON and KML need the coordinate system the points are in: choose it under Setting, or give "
     "--crs EPSG:NNNN on the command line. Nothing was written."},
    // %1 the text given.
    {TextId::CrsNotEpsg, "坐标系 %1 的写法应为 EPSG:NNNN。", "The coordinate system %1 must be written EPSG:NNNN."},
    {TextId::CrsUnknown, "%1 不是 PROJ 已知的投影坐标系。", "%1 is no projected coordinate system that PROJ knows."},
    // %1 the point's name.
    {TextId::CrsOutside, "点 %1 无法从所选坐标系换算为 WGS 84，未写入任何内容。",
     "Point %1 cannot be transformed from the chosen coordinate system to WGS 84; nothing was written."},
    {TextId::ShotsNotComputed,
     "作业中没有坐标点：其斜距测点只有在计算测点坐标时才成为点（“设置”中的“计算测点坐标”，命令行 "
     "--compute-shots）。未写入任何内容。",
     "The job holds no coordinate point: its SD shots become points only when shot coordinates are computed "
     "(Setting, compute shot coordinates; --compute-shots on the command line). Nothing was written."},
    {TextId::StationCheckBtn, "测站检查", "Station check"},
    {TextId::RecentBtn, "最近文件", "Recent files"},
    {TextId::RecentNone, "（无最近文件）", "(no recent files)"},
    // %1 the file.
    {TextId::RecentMissing, "%1 已不存在，已从最近文件中移除。", "%1 no longer exists; it was taken off the recent files."},
    // After a grid header of a length, one blank between.
    {TextId::HeaderUnitMetre, "[米]", "[m]"},
    {TextId::HeaderUnitUsFoot, "[美国英尺]", "[US ft]"},
    {TextId::HeaderUnitFoot, "[英尺]", "[ft]"},
    // %1 bytes, %2 lines, %3 the time since the start.
    {TextId::TransferProgress, "%1 字节，%2 行，%3", "%1 bytes, %2 lines, %3"},
    // %1 how many, %2 the file.
    {TextId::SavedPoint, "已保存 %1 个点到 %2", "Saved %1 point to %2"},
    {TextId::SavedPoints, "已保存 %1 个点到 %2", "Saved %1 points to %2"},
    {TextId::SavedRecord, "已保存 %1 条记录到 %2", "Saved %1 record to %2"},
    {TextId::SavedRecords, "已保存 %1 条记录到 %2", "Saved %1 records to %2"},
    {TextId::SavedCode, "已保存 %1 个编码到 %2", "Saved %1 code to %2"},
    {TextId::SavedCodes, "已保存 %1 个编码到 %2", "Saved %1 codes to %2"},
    {TextId::SavedLine, "已保存 %1 行到 %2", "Saved %1 line to %2"},
    {TextId::SavedLines, "已保存 %1 行到 %2", "Saved %1 lines to %2"},
    {TextId::AskDiscardGrid, "表格中有尚未保存的修改。要放弃这些修改吗？",
     "The grid holds changes that are not saved. Discard them?", "提示", "Warning"},
    {TextId::DuplicateName, "点名重复", "Duplicate name"},
    {TextId::FindBoxName, "查找点名", "Find point name"},
    {TextId::NoPointNamed, "没有名为 %1 的点", "No point named %1"},
    {TextId::NoCodeNamed, "没有编码 %1", "No code %1"},
    {TextId::AskDiscardData, "编辑过的数据尚未保存到文件。要放弃这些修改吗？",
     "The edited data is not saved to a file. Discard the changes?", "提示", "Warning"},
};

constexpr bool EntriesInIdOrder() {
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    if (static_cast<std::size_t>(kTexts[i].id) != i) return false;
  }
  return true;
}
static_assert(std::size(kTexts) == static_cast<std::size_t>(TextId::Count_),
              "every text identifier needs exactly one entry");
static_assert(EntriesInIdOrder(), "entries must follow the order of TextId");

// The open dialog's entries; a binary entry's patterns are the endings the readers take.
struct OpenEntry {
  std::string_view chinese;
  std::string_view english;
  std::string_view patterns;  // empty: those of binary files of the kind
  BinaryFileKind binaryKind = BinaryFileKind::Measure;
};

constexpr OpenEntry kOpenEntries[] = {
    {"所有文件", "Any File", "*.*"},
    {"CASS格式已知点文件", "CASS coordinate file", "*.dat;*.csv;*.txt"},
    {"二进制已知点文件", "Binary coordinate file", "", BinaryFileKind::Coord},
    {"二进制测量文件", "Binary measured File", "", BinaryFileKind::Measure},
    {"GTS-7格式已知点文件", "GTS-7 coordinate file", "*.csv;*.txt"},
    {"工作文件", "TS job file", "*.wkj"},
    {"编码文件", "Code file", "*.txt"},
};

constexpr std::array<std::string_view, 3> kAngleNamesChinese = {"度分秒", "GOM", "MIL"};
constexpr std::array<std::string_view, 3> kAngleNamesEnglish = {"DMS", "GOM", "MIL"};
constexpr std::array<std::string_view, 3> kDistanceNamesChinese = {"米", "美国英尺", "国际英尺"};
constexpr std::array<std::string_view, 3> kDistanceNamesEnglish = {"Meter", "US-Ft", "INT-Ft"};

const TextEntry* FindText(TextId id) {
  const auto index = static_cast<std::size_t>(id);
  return index < std::size(kTexts) ? &kTexts[index] : nullptr;
}

}  // namespace

std::string_view PickText(TextId id, int language) {
  const TextEntry* entry = FindText(id);
  if (entry == nullptr) return {};
  return language == kLanguageChinese ? entry->chinese : entry->english;
}

std::string_view PickText(TextId id) { return PickText(id, CurrentLanguage()); }

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char mark = i + 1 < pattern.size() && pattern[i] == '%' ? pattern[i + 1] : '\0';
    const auto n = static_cast<std::size_t>(mark - '1');
    if (mark >= '1' && mark <= '9' && n < values.size()) {
      out += values.begin()[n];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string_view PickCaption(TextId id, int language) {
  const TextEntry* entry = FindText(id);
  if (entry == nullptr) return {};
  return language == kLanguageChinese ? entry->chineseCaption : entry->englishCaption;
}

std::string_view PickCaption(TextId id) { return PickCaption(id, CurrentLanguage()); }

bool IsQuestion(TextId id) {
  const TextEntry* entry = FindText(id);
  return entry != nullptr && !entry->englishCaption.empty();
}

std::string OpenFilterText(int language) {
  if (language != kLanguageChinese && language != kLanguageEnglish) return {};
  std::string filter;
  for (const OpenEntry& entry : kOpenEntries) {
    const std::string patterns = entry.patterns.empty() ? BinaryPatterns(entry.binaryKind) : std::string(entry.patterns);
    if (!filter.empty()) filter += '|';
    filter += language == kLanguageChinese ? entry.chinese : entry.english;
    filter += '(' + patterns + ")|" + patterns;
  }
  return filter;
}

void FillUnitNames(UnitKind kind, int language, std::vector<std::string>& names) {
  if (language != kLanguageChinese && language != kLanguageEnglish) return;
  const bool chinese = language == kLanguageChinese;
  const auto& list = kind == UnitKind::Angle
                         ? (chinese ? kAngleNamesChinese : kAngleNamesEnglish)
                         : (chinese ? kDistanceNamesChinese : kDistanceNamesEnglish);
  for (std::string_view name : list) names.emplace_back(name);
}

std::string WindowTitle(int language) {
  std::string title(PickText(TextId::Title, language));
  title += ' ';
  title += kVersionText;
  return title;
}

}  // namespace theolink
