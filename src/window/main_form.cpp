#include "window/main_form.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/grid_cells.h"
#include "app/grid_write_back.h"
#include "app/help_sections.h"
#include "app/language.h"
#include "app/last_folder.h"
#include "app/save_plan.h"
#include "app/send_cut_text.h"
#include "app/text_table.h"
#include "app/window_modes.h"
#include "files/data_views.h"
#include "files/file_open.h"
#include "files/save_writers.h"
#include "serial/com_error.h"
#include "serial/transfer_send_lines.h"
#include "window/com_combo_box.h"
#include "window/dialogs.h"
#include "window/display_text.h"
#include "window/grid_model.h"
#include "window/grid_view.h"
#include "window/save_action.h"
#include "window/settings_form.h"
#include "window/toolkit_language.h"
#include "window/window_fonts.h"

namespace theolink {
namespace {

QString T(TextId id) { return UiText(PickText(id)); }

// Notices carry the application's title, which is the same in both languages.
const QString kAppTitle = QStringLiteral("Theolink II");

QPushButton* MakeButton(QWidget* parent, const char* name, int x, int y, int w = 80, int h = 30) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(x, y, w, h);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, int height) {
  auto* group = new QGroupBox(parent);
  group->setObjectName(QString::fromLatin1(name));
  group->setFixedSize(190, height);
  return group;
}

void SetCaption(QAbstractButton* button, TextId id) {
  button->setText(T(id));
  button->setAccessibleName(button->text());
}

void SetCaption(QGroupBox* group, TextId id) {
  group->setTitle(T(id));
  group->setAccessibleName(group->title());
}

void SetCaption(QLabel* label, TextId id) {
  label->setText(T(id));
  label->setAccessibleName(label->text());
}

// The grid rows of a list, numbered from 1.
template <typename Item, typename RowOf>
std::vector<GridModel::Row> NumberedRows(const std::vector<Item>& items, RowOf rowOf) {
  std::vector<GridModel::Row> rows;
  rows.reserve(items.size());
  std::size_t n = 0;
  for (const Item& item : items) rows.push_back(rowOf(item, ++n));
  return rows;
}

}  // namespace

TForm1::TForm1(WindowContext context)
    : context_(std::move(context)),
      config_(context_.executablePath, context_.environment),
      dialogs_(*context_.dialogs),
      dispatcher_([this](std::exception_ptr error) {
        try {
          if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
          ShowPortError(e.what());
        } catch (...) {
          ShowPortError("unknown error");
        }
      }),
      timer1_([this] { Timer1Timer(); }),
      host_(comPort1_, timer1_, *this),
      rawCopy_(context_.rawCopyFolder),
      controller_(host_, data_) {
  setObjectName(QStringLiteral("Form1"));
  SetUpTransferPort(comPort1_, "COM3", br115200, 0, dispatcher_);
  host_.Bind(controller_);
  if (!context_.rawCopyFolder.empty()) controller_.SetRawCopy(&rawCopy_);
  BuildControls();
  // Construction: empty lists, flags clear; then the creation handler.
  ClearMeasureData(data_);
  ClearCoordData(data_);
  ClearCodeData(data_);
  FormCreate();
  form2_ = std::make_unique<TForm2>(config_, dialogs_, settings_);
  form2_->OnChanged = [this] { RefreshViews(); };
  form2_->OnClosed = [this] {
    setEnabled(true);
    InitDataShowView();
    RefleshDataShowView();
  };
  form2_->OnConfirmed = [this] { SetStatus(2, UiText(CurrentUnitText(settings_, CurrentLanguage()))); };
  setAcceptDrops(true);
  PlaceOnScreen();
}

void TForm1::PlaceOnScreen() {
  const QScreen* shown = screen();
  if (shown == nullptr) return;
  const FormGeometry stored = LoadFormGeometry(config_);
  const QRect area = shown->availableGeometry();
  // Room for the frame the window manager adds around the client area.
  const QMargins frame(4, 30, 4, 4);
  const QRect room = area.marginsRemoved(frame);
  QSize size = stored.Stored() ? QSize(stored.width, stored.height) : QSize(938, 616);
  size = size.boundedTo(room.size()).expandedTo(minimumSizeHint().boundedTo(room.size()));
  resize(size);
  QRect wanted(QPoint(stored.left, stored.top), size);
  // A place on a screen that is gone, or mostly off this one, is not kept.
  if (!stored.Stored() || !room.contains(wanted.center())) wanted.moveCenter(room.center());
  wanted.moveLeft(std::clamp(wanted.left(), room.left(), std::max(room.left(), room.right() - size.width())));
  wanted.moveTop(std::clamp(wanted.top(), room.top(), std::max(room.top(), room.bottom() - size.height())));
  move(wanted.topLeft());
}

TForm1::~TForm1() {
  if (!closed_) FormClose();
}

void TForm1::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  auto* panel1 = new QWidget(this);
  panel1->setObjectName(QStringLiteral("Panel1"));
  auto* row = new QHBoxLayout(panel1);
  row->setContentsMargins(2, 2, 2, 2);

  auto* views = new QWidget(panel1);
  auto* viewsLayout = new QGridLayout(views);
  viewsLayout->setContentsMargins(0, 0, 0, 0);
  measText_ = new QPlainTextEdit(views);
  measText_->setObjectName(QStringLiteral("MeasText"));
  measText_->setReadOnly(true);
  measText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  measText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  measText_->setFont(DataFont());
  gridModel_ = new GridModel(this);
  gridModel_->OnCellEdited = [this](int row, int column) { StrGridSetEditText(column, row + 1); };
  strGrid_ = new GridView(views);
  strGrid_->OnPaste = [this](const QString& text) { PasteIntoGrid(text); };
  strGrid_->setObjectName(QStringLiteral("StrGrid"));
  strGrid_->setModel(gridModel_);
  // Numbers of 13 characters fit the 100-pixel columns; headers keep the interface font.
  strGrid_->setFont(DataFont(13));
  strGrid_->horizontalHeader()->setFont(font());
  strGrid_->verticalHeader()->hide();
  strGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  strGrid_->verticalHeader()->setDefaultSectionSize(20);
  strGrid_->horizontalHeader()->setDefaultSectionSize(100);
  strGrid_->horizontalHeader()->setHighlightSections(false);
  for (int c = 0; c < 6; ++c) strGrid_->setColumnWidth(c, c == 0 ? 38 : (c == 5 ? 99 : 100));
  strGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  strGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  strGrid_->hide();
  viewsLayout->addWidget(measText_, 0, 0);
  viewsLayout->addWidget(strGrid_, 0, 0);
  row->addWidget(views, 1);

  pageControl1_ = new QStackedWidget(panel1);
  pageControl1_->setObjectName(QStringLiteral("PageControl1"));
  pageControl1_->setFixedWidth(200);
  auto* tabSheet1 = new QWidget;
  tabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  auto* page0 = new QVBoxLayout(tabSheet1);
  page0->setContentsMargins(4, 4, 4, 4);
  comportSettingGroup_ = MakeGroup(tabSheet1, "ComportSettingGroup", 89);
  label11_ = new QLabel(comportSettingGroup_);
  label11_->setObjectName(QStringLiteral("Label11"));
  label11_->setGeometry(8, 24, 70, 20);
  comComboBox7_ = new TComComboBox(context_.portLister, comportSettingGroup_);
  comComboBox7_->setObjectName(QStringLiteral("ComComboBox7"));
  comComboBox7_->setGeometry(78, 22, 104, 24);
  label12_ = new QLabel(comportSettingGroup_);
  label12_->setObjectName(QStringLiteral("Label12"));
  label12_->setGeometry(8, 56, 70, 20);
  comComboBox8_ = new TComComboBox({}, comportSettingGroup_);
  comComboBox8_->setObjectName(QStringLiteral("ComComboBox8"));
  comComboBox8_->setGeometry(78, 54, 104, 24);

  transControlGroup_ = MakeGroup(tabSheet1, "TransControlGroup", 128);
  receiveBtn_ = MakeButton(transControlGroup_, "ReceiveBtn", 10, 28);
  sendBtn_ = MakeButton(transControlGroup_, "SendBtn", 100, 28);
  stopBtn_ = MakeButton(transControlGroup_, "StopBtn", 55, 80);

  fileControlGroup_ = MakeGroup(tabSheet1, "FileControlGroup", 216);
  coordBtn_ = MakeButton(fileControlGroup_, "CoordBtn", 10, 26);
  codeBtn_ = MakeButton(fileControlGroup_, "CodeBtn", 100, 26);
  openBtn_ = MakeButton(fileControlGroup_, "OpenBtn", 55, 70);
  saveBtn_ = MakeButton(fileControlGroup_, "SaveBtn", 55, 114);
  settingBtn_ = MakeButton(fileControlGroup_, "SettingBtn", 10, 170);
  helpBtn_ = MakeButton(fileControlGroup_, "HelpBtn", 100, 170);
  page0->addWidget(comportSettingGroup_);
  page0->addWidget(transControlGroup_);
  page0->addWidget(fileControlGroup_);
  page0->addStretch(1);

  auto* tabSheet2 = new QWidget;
  tabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  auto* panel3 = new QWidget(tabSheet2);
  panel3->setObjectName(QStringLiteral("Panel3"));
  panel3->setGeometry(4, 4, 190, 440);
  appendBtn_ = MakeButton(panel3, "AppendBtn", 45, 30, 100, 34);
  insertBtn_ = MakeButton(panel3, "InsertBtn", 45, 84, 100, 34);
  delBtn_ = MakeButton(panel3, "DelBtn", 45, 138, 100, 34);
  okBtn_ = MakeButton(panel3, "OKBtn", 35, 300, 120, 50);
  QFont okFont = okBtn_->font();
  okFont.setPointSizeF(okFont.pointSizeF() * 1.4);
  okFont.setBold(true);
  okBtn_->setFont(okFont);
  pageControl1_->addWidget(tabSheet1);
  pageControl1_->addWidget(tabSheet2);
  row->addWidget(pageControl1_);
  outer->addWidget(panel1, 1);

  statusBar1_ = new QStatusBar(this);
  statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  statusBar1_->setSizeGripEnabled(false);
  static const char* const kPanelNames[3] = {"StatusPanel0", "StatusPanel1", "StatusPanel2"};
  static const int kPanelWidths[3] = {200, 100, 50};
  // Messages and hints get the room that is left and wrap rather than being cut; the
  // count keeps its place.
  static const int kPanelStretch[3] = {2, 0, 3};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(statusBar1_);
    panels_[i]->setObjectName(QString::fromLatin1(kPanelNames[i]));
    // No accessible name of its own: a label's name is its text, and a change of it is
    // announced to screen readers.
    panels_[i]->setMinimumWidth(kPanelWidths[i]);
    if (i == 1) panels_[i]->setFixedWidth(kPanelWidths[i] + 40);
    else panels_[i]->setWordWrap(true);
    panels_[i]->setFrameShape(QFrame::StyledPanel);
    panels_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar1_->addWidget(panels_[i], kPanelStretch[i]);
  }
  outer->addWidget(statusBar1_);

  connect(receiveBtn_, &QPushButton::clicked, this, &TForm1::ReceiveBtnClick);
  connect(sendBtn_, &QPushButton::clicked, this, &TForm1::SendBtnClick);
  connect(stopBtn_, &QPushButton::clicked, this, &TForm1::StopBtnClick);
  connect(coordBtn_, &QPushButton::clicked, this, &TForm1::CoordBtnClick);
  connect(codeBtn_, &QPushButton::clicked, this, &TForm1::CodeBtnClick);
  connect(openBtn_, &QPushButton::clicked, this, &TForm1::OpenBtnClick);
  connect(saveBtn_, &QPushButton::clicked, this, &TForm1::SaveBtnClick);
  connect(settingBtn_, &QPushButton::clicked, this, &TForm1::SettingBtnClick);
  connect(helpBtn_, &QPushButton::clicked, this, &TForm1::HelpBtnClick);
  connect(okBtn_, &QPushButton::clicked, this, &TForm1::OKBtnClick);
  connect(appendBtn_, &QPushButton::clicked, this, &TForm1::AppendBtnClick);
  connect(insertBtn_, &QPushButton::clicked, this, &TForm1::InsertBtnClick);
  connect(delBtn_, &QPushButton::clicked, this, &TForm1::DelBtnClick);
  for (QWidget* w : {static_cast<QWidget*>(receiveBtn_), static_cast<QWidget*>(sendBtn_),
                     static_cast<QWidget*>(stopBtn_), static_cast<QWidget*>(settingBtn_),
                     static_cast<QWidget*>(transControlGroup_)}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
}

void TForm1::FormCreate() {
  SetLanguage(StartLanguage(config_, context_.locale));
  UseToolkitLanguage(CurrentLanguage());
  sendBtn_->setEnabled(false);
  stopBtn_->setEnabled(false);
  data_.DataKind = DataKindMeasure;
  pageControl1_->setCurrentIndex(0);
  setWindowTitle(UiText(WindowTitle(CurrentLanguage())));
  measText_->clear();
  SetCaptions();
  SetStatus(0, QStringLiteral("Welcome"));
  SetStatus(1, T(TextId::TotalPrefix) + QLatin1Char('0'));
  SetUpPortBoxes();
}

void TForm1::SetCaptions() {
  SetCaption(comportSettingGroup_, TextId::ComportSettingGroup);
  SetCaption(label11_, TextId::PortLabel);
  SetCaption(label12_, TextId::BaudLabel);
  SetCaption(transControlGroup_, TextId::TransControlGroup);
  SetCaption(receiveBtn_, TextId::ReceiveBtn);
  SetCaption(sendBtn_, TextId::SendBtn);
  SetCaption(stopBtn_, TextId::StopBtn);
  SetCaption(coordBtn_, TextId::CoordBtn);
  SetCaption(codeBtn_, TextId::CodeBtn);
  SetCaption(openBtn_, TextId::OpenBtn);
  SetCaption(saveBtn_, TextId::SaveBtn);
  SetCaption(settingBtn_, TextId::SettingBtn);
  SetCaption(helpBtn_, TextId::HelpBtn);
  SetCaption(appendBtn_, TextId::AppendBtn);
  SetCaption(insertBtn_, TextId::InsertBtn);
  SetCaption(delBtn_, TextId::DelBtn);
  SetCaption(okBtn_, TextId::OKBtn);
  comComboBox7_->setAccessibleName(label11_->text());
  if (comComboBox7_->lineEdit() != nullptr) comComboBox7_->lineEdit()->setAccessibleName(label11_->text());
  comComboBox8_->setAccessibleName(label12_->text());
  fileControlGroup_->setAccessibleName(T(TextId::FileControlGroupName));
  measText_->setAccessibleName(T(TextId::MeasTextName));
  strGrid_->setAccessibleName(T(TextId::StrGridName));
  static const TextId kPanelRoles[3] = {TextId::StatusMessageRole, TextId::StatusCountRole, TextId::StatusHintRole};
  for (int i = 0; i < 3; ++i) panels_[i]->setAccessibleDescription(T(kPanelRoles[i]));
}

void TForm1::SetUpPortBoxes() {
  try {
    comComboBox7_->SetComPort(&comPort1_);
    comComboBox7_->SetComProperty(cpPort);
    comComboBox7_->SetAutoApply(true);
    comComboBox8_->SetComPort(&comPort1_);
    comComboBox8_->SetComProperty(cpBaudRate);
    comComboBox8_->SetAutoApply(true);
    const FormPositions positions = LoadFormPositions(config_);
    RestorePort(positions);
    const bool baudInRange = positions.baudrate >= 0 && positions.baudrate < comComboBox8_->count();
    comComboBox8_->setCurrentIndex(baudInRange ? positions.baudrate : -1);
    // A position outside the list keeps 115200.
    comPort1_.SetBaudRate(baudInRange ? static_cast<TBaudRate>(positions.baudrate) : br115200);
    // Nothing plugged in is an ordinary state, not an error to confirm at every start.
    if (comComboBox7_->count() == 0)
      SetStatus(0, T(TextId::NoComportFound) + QLatin1Char(' ') + T(TextId::NoComportHint));
  } catch (const std::exception&) {
    NoticeLater(TextId::NoComportFound);
  }
}

void TForm1::RestorePort(const FormPositions& positions) {
  // The name wins over the index: the list shifts when an adapter is added or removed.
  const QString name = QString::fromLocal8Bit(positions.portName.c_str());
  if (!name.isEmpty() && (comComboBox7_->findText(name) >= 0 || std::filesystem::exists(positions.portName))) {
    comComboBox7_->ChoosePort(name);
    return;
  }
  const bool portInRange = positions.port >= 0 && positions.port < comComboBox7_->count();
  comComboBox7_->setCurrentIndex(portInRange ? positions.port : -1);
  if (portInRange) comPort1_.SetPort(comComboBox7_->currentText().toLocal8Bit().toStdString());
}

void TForm1::FormClose() {
  closed_ = true;
  timer1_.Stop();
  if (comPort1_.Connected()) host_.ClosePort();
  const QString port = comComboBox7_->currentText();
  StoreFormPositions(config_, {comComboBox7_->findText(port), comComboBox8_->currentIndex(),
                               port.toLocal8Bit().toStdString()});
  StoreFormGeometry(config_, {x(), y(), width(), height()});
  if (form2_) form2_->hide();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closed_) FormClose();
  event->accept();
}

void TForm1::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (!firstPaint_) return;
  firstPaint_ = false;
  // Boxes must not open inside a paint: the help comes right after it.
  QMetaObject::invokeMethod(this, &TForm1::ShowFirstHelp, Qt::QueuedConnection);
}

void TForm1::ShowFirstHelp() {
  ShowHelp();
  if (!pendingOpen_.empty()) OpenPath(std::exchange(pendingOpen_, std::string()));
}

void TForm1::OpenAfterStart(const std::string& path) {
  if (firstPaint_) pendingOpen_ = path;
  else OpenPath(path);
}

// --- views ---------------------------------------------------------------------------

void TForm1::InitDataShowView() {
  if (data_.DataKind == DataKindMeasure) {
    measText_->show();
    strGrid_->hide();
    sendBtn_->setEnabled(SendEnabledFor(data_.DataKind));
    measText_->clear();
    return;
  }
  measText_->hide();
  strGrid_->show();
  sendBtn_->setEnabled(SendEnabledFor(data_.DataKind));
  QStringList headers;
  for (TextId id : GridHeaderIds(data_.DataKind, settings_)) headers << T(id);
  if (data_.DataKind == DataKindCoord) {
    gridModel_->Reset(static_cast<int>(CoordGridColumns), headers);
    // The standard widths, widened where this platform's font needs more for a header.
    QHeaderView* header = strGrid_->horizontalHeader();
    for (int c = 0; c < static_cast<int>(CoordGridColumns); ++c)
      strGrid_->setColumnWidth(c, std::max(CoordGridWidths[static_cast<std::size_t>(c)], header->sectionSizeHint(c)));
  } else {
    gridModel_->Reset(static_cast<int>(CodeGridColumns), headers);
  }
}

void TForm1::RefleshDataShowView() {
  switch (data_.DataKind) {
    case DataKindMeasure:
      sendBtn_->setEnabled(false);
      ShowMeasureText();
      break;
    case DataKindCoord:
      sendBtn_->setEnabled(true);
      ShowCoordGrid();
      break;
    default:
      ShowCodeGrid();
      break;
  }
}

void TForm1::ShowMeasureText() {
  if (data_.MeasurementList.empty()) return;
  const LineList lines = MeasureTextLines(data_, settings_);
  std::string joined;
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  joined.reserve(size);
  for (const std::string& line : lines) {
    joined += line;
    joined += '\n';
  }
  if (!joined.empty()) joined.pop_back();
  measText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  measText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // One decode and one fill for the whole text.
  measText_->setPlainText(DisplayText(joined));
  measText_->verticalScrollBar()->setValue(0);
  ShowTotal();
}

void TForm1::ShowCoordGrid() {
  if (data_.PointList.empty()) return;
  gridModel_->SetRows(
      NumberedRows(data_.PointList, [this](const PointRecord& p, std::size_t n) { return CoordGridRow(p, n, settings_); }));
  strGrid_->scrollToTop();
  ShowTotal();
}

void TForm1::ShowCodeGrid() {
  if (data_.CodeList.empty()) return;
  gridModel_->SetRows(NumberedRows(data_.CodeList, [](const CodeEntry& c, std::size_t n) { return CodeGridRow(c, n); }));
  ShowTotal();
}

void TForm1::ShowTotal() {
  if (const auto count = ShownCount(data_)) SetStatus(1, T(TextId::TotalPrefix) + QString::number(*count));
}

// --- modes ---------------------------------------------------------------------------

void TForm1::EnterGridEditor() {
  pageControl1_->setCurrentIndex(1);
  gridModel_->SetEditing(true);
  strGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
}

bool TForm1::GridEditing() const { return gridModel_->Editing(); }

void TForm1::CoordBtnClick() {
  const ModeStep step = CoordModeStep(data_, settings_, [this](TextId q) { return Ask(q); });
  if (step.enterEditor) EnterGridEditor();
  if (step.views != ViewUpdate::None) InitDataShowView();
  if (step.views == ViewUpdate::InitAndRefresh) RefleshDataShowView();
  if (step.notice) Notice(*step.notice);
}

void TForm1::CodeBtnClick() {
  const ModeStep step = CodeModeStep(data_, [this](TextId q) { return Ask(q); });
  if (step.enterEditor) EnterGridEditor();
  if (step.views != ViewUpdate::None) InitDataShowView();
  if (step.views == ViewUpdate::InitAndRefresh) RefleshDataShowView();
}

// --- grid editor ---------------------------------------------------------------------

int TForm1::CurrentGridRow() const {
  const int row = strGrid_->currentIndex().row();
  return row >= 0 && row < gridModel_->rowCount() ? row : 0;
}

void TForm1::ShowGridRowCount() { SetStatus(1, T(TextId::TotalPrefix) + QString::number(gridModel_->rowCount())); }

void TForm1::MakeCellCurrent(int row, int column) {
  const QModelIndex index = gridModel_->index(row, column);
  strGrid_->setCurrentIndex(index);
  strGrid_->scrollTo(index);
}

void TForm1::AppendBtnClick() {
  const int column = std::max(1, strGrid_->currentIndex().column());
  gridModel_->AppendRow();
  MakeCellCurrent(gridModel_->rowCount() - 1, column);
  ShowGridRowCount();
  // The surveyor types the new row at once, not into the button.
  strGrid_->setFocus();
}

void TForm1::InsertBtnClick() {
  const int row = CurrentGridRow();
  const int column = std::max(1, strGrid_->currentIndex().column());
  gridModel_->InsertRow(row);
  MakeCellCurrent(row, column);
  ShowGridRowCount();
  strGrid_->setFocus();
}

void TForm1::DelBtnClick() {
  if (!dialogs_.AskYesNo(T(TextId::AskDeleteRow), UiText(PickCaption(TextId::AskDeleteRow)))) return;
  gridModel_->SetGridModified(true);
  const int row = CurrentGridRow();
  const bool several = gridModel_->rowCount() >= 2;
  gridModel_->DeleteRow(row);
  if (several) {
    MakeCellCurrent(std::min(row, gridModel_->rowCount() - 1), std::max(1, strGrid_->currentIndex().column()));
    ShowGridRowCount();
  }
}

void TForm1::StrGridSetEditText(int ACol, int ARow) {
  const int row = ARow - 1;
  const CellCheck check = CheckCellText(ColumnKind(data_.DataKind, ACol), gridModel_->Cell(row, ACol));
  if (!check.accepted) {
    // The whole cell goes, as the message says nothing about which character was wrong.
    gridModel_->SetCell(row, ACol, std::string());
    // Before the box takes the focus: the editor's commit on losing it must not bring the
    // refused text back.
    const QModelIndex cell = gridModel_->index(row, ACol);
    strGrid_->EmptyCellEditor(cell);
    // This runs inside the cell editor's key handling; a box's event loop there would let
    // the editor be closed and deleted under its own feet.
    if (check.message) NoticeLater(*check.message, [this, cell = QPersistentModelIndex(cell)] { ResumeCellEditing(cell); });
    return;
  }
  if (check.modifies) gridModel_->SetGridModified(true);
}

void TForm1::ResumeCellEditing(const QPersistentModelIndex& cell) {
  if (!cell.isValid() || !gridModel_->Editing() || !strGrid_->isVisible()) return;
  strGrid_->setCurrentIndex(cell);
  strGrid_->setFocus();
  // The box took the focus and so closed the editor: the surveyor types on where it was.
  if (!strGrid_->CellEditorOpen()) strGrid_->edit(cell);
}

void TForm1::PasteIntoGrid(const QString& text) {
  const QModelIndex start = strGrid_->currentIndex();
  if (!start.isValid() || start.column() < 1) return;
  const auto block = SplitPastedBlock(DataText(text));
  if (block.empty()) return;
  const int needed = start.row() + static_cast<int>(block.size()) - gridModel_->rowCount();
  if (needed > 0) {
    gridModel_->AppendRows(needed);
    ShowGridRowCount();
  }
  for (std::size_t r = 0; r < block.size(); ++r) {
    for (std::size_t c = 0; c < block[r].size(); ++c) {
      const int column = start.column() + static_cast<int>(c);
      if (column >= gridModel_->columnCount()) break;
      gridModel_->setData(gridModel_->index(start.row() + static_cast<int>(r), column), DisplayText(block[r][c]),
                          Qt::EditRole);
    }
  }
}

void TForm1::OKBtnClick() {
  // Close an open cell editor first, so its text is in the grid.
  strGrid_->CloseCellEditor();
  const GridRows& rows = gridModel_->Rows();
  if (data_.DataKind == DataKindCoord) {
    const GridWriteResult written = WriteGridToPoints(rows, gridModel_->GridModified(), settings_, data_);
    if (!written.Ok()) {
      Notice(TextId::WrongCoordinateFormat);
      if (written.badCell) MakeCellCurrent(written.badCell->row, written.badCell->column);
      return;
    }
  } else {
    WriteGridToCodes(rows, data_);
  }
  if (const auto bad = FindIllegalCharacter(rows, data_.DataKind)) {
    Notice(TextId::IllegalCharacter);
    MakeCellCurrent(bad->row, bad->column);
    return;
  }
  LeaveGridEditor();
}

void TForm1::LeaveGridEditor() {
  gridModel_->SetGridModified(false);
  gridModel_->SetEditing(false);
  strGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  pageControl1_->setCurrentIndex(0);
  SetStatus(0, QString());
  InitDataShowView();
  RefleshDataShowView();
}

void TForm1::HelpBtnClick() {
  data_.DataKind = DataKindMeasure;
  InitDataShowView();
  ShowHelp();
}

void TForm1::ShowHelp() {
  ClearMeasureData(data_);
  ClearCoordData(data_);
  ClearCodeData(data_);
  const HelpOutcome help = LoadHelp(FindHelpFile(context_.executablePath), CurrentLanguage());
  if (!help.ok && help.failure == TextId::NoHelpFile) {
    Notice(TextId::NoHelpFile);
    return;
  }
  measText_->clear();
  if (!help.ok) {
    Notice(TextId::HelpFileDamaged);
    return;
  }
  // Help is prose: its lines wrap at the view's width. Data lines never do.
  measText_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  measText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  measText_->setPlainText(UiText(help.text));
  measText_->verticalScrollBar()->setValue(0);
}

void TForm1::SettingBtnClick() {
  setEnabled(false);
  form2_->move(x() + width() / 2 - form2_->width() / 2, y() + height() / 2 - form2_->height() / 2);
  form2_->show();
  form2_->raise();
}

// --- hints ---------------------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (watched == receiveBtn_) ReceiveBtnMouseMove(p.x(), p.y());
    else if (watched == sendBtn_) SendBtnMouseMove(p.x(), p.y());
    else if (watched == stopBtn_) StopBtnMouseMove(p.x(), p.y());
    else if (watched == settingBtn_) SettingBtnMouseMove(p.x(), p.y());
    else if (watched == transControlGroup_) FileControlGroupMouseMove(p.x(), p.y());
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::ReceiveBtnMouseMove(int x, int y) {
  SetStatus(2, InTransferHintArea(x, y) ? T(TextId::ReceiveHint) : QString());
}

void TForm1::SendBtnMouseMove(int x, int y) {
  SetStatus(2, InTransferHintArea(x, y) ? T(TextId::SendHint) : QString());
}

void TForm1::StopBtnMouseMove(int, int) { SetStatus(2, QString()); }

void TForm1::SettingBtnMouseMove(int, int) { SetStatus(2, UiText(CurrentUnitText(settings_, CurrentLanguage()))); }

void TForm1::FileControlGroupMouseMove(int, int) {}

// --- open and save -------------------------------------------------------------------

QString TForm1::StartFolder() const { return QString::fromLocal8Bit(LoadLastFolder(config_).c_str()); }

void TForm1::RememberFolder(const std::string& chosen) { StoreLastFolderOf(config_, chosen); }

void TForm1::OpenBtnClick() {
  const auto choice = dialogs_.OpenFile(std::string(PickFilter(FilterId::Open, CurrentLanguage())), StartFolder());
  if (!choice) return;
  RememberFolder(choice->path);
  OpenPath(choice->path);
}

void TForm1::OpenPath(const std::string& path) {
  const OpenOutcome outcome = OpenDataFile(data_, path, settings_);
  for (const ShownMessage& message : outcome.Messages) {
    if (message.Id) {
      Notice(*message.Id);
    } else {
      dialogs_.ShowNotice(DisplayText(message.Text),
                          message.Caption.empty() ? kAppTitle : DisplayText(message.Caption));
    }
  }
  if (!outcome.RefreshViews) return;
  InitDataShowView();
  RefleshDataShowView();
}

void TForm1::SaveBtnClick() {
  const bool viewHasLines = !measText_->document()->isEmpty();
  const SavePlan plan = PlanSave(data_, viewHasLines, CurrentLanguage());
  if (plan.notice) {
    Notice(*plan.notice);
    return;
  }
  const auto choice = dialogs_.SaveFile(plan.filter, StartFolder());
  if (!choice) return;
  std::error_code ec;
  if (std::filesystem::exists(choice->path, ec) && !Ask(TextId::AskReplaceFile)) return;
  RememberFolder(choice->path);
  std::optional<SaveNotice> notice;
  if (plan.viewTextOnly) {
    LineList lines;
    for (const QString& line : measText_->toPlainText().split(QLatin1Char('\n'))) lines.push_back(DataText(line));
    notice = SaveViewLines(lines, choice->path);
  } else {
    notice = SaveWorkingData(data_, choice->filterIndex, choice->path, settings_);
  }
  if (!notice) return;
  QString text = T(notice->message);
  if (!notice->detail.empty()) text += QStringLiteral("\n") + QString::fromLocal8Bit(notice->detail.c_str());
  dialogs_.ShowNotice(text, kAppTitle);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && controller_.TransferState() == TransferIdle && pageControl1_->currentIndex() == 0)
    event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  if (OpenDropped(*event->mimeData())) event->acceptProposedAction();
}

bool TForm1::OpenDropped(const QMimeData& mime) {
  const QList<QUrl> urls = mime.urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
  if (controller_.TransferState() != TransferIdle || pageControl1_->currentIndex() != 0) return false;
  OpenPath(QFile::encodeName(urls.first().toLocalFile()).toStdString());
  return true;
}

// --- transfers -----------------------------------------------------------------------

void TForm1::ReceiveBtnClick() {
  if (ReceiveAsksFirst(data_)) {
    if (!Ask(TextId::AskClearData)) return;
    ClearMeasureData(data_);
    ClearCoordData(data_);
    InitDataShowView();
    RefleshDataShowView();
  }
  const StartResult started = controller_.ReceiveBtnClick();
  transferRunning_ = started == StartResult::Started;
  if (started == StartResult::PortFailed) ShowPortOpenFailure();
}

void TForm1::ShowPortOpenFailure() {
  // Panel 0 has said "Serial port settings error!"; this says why and what to do.
  QString text = T(TextId::PortSettingsError);
  if (!host_.OpenErrorText().empty()) text += QLatin1Char('\n') + UiText(host_.OpenErrorText());
  if (const auto advice = PortAdviceOf(host_.OpenErrorCode()))
    text += QLatin1Char('\n') + UiText(FillText(PickText(*advice), {comPort1_.Port()}));
  panels_[0]->setToolTip(text);
  dialogs_.ShowNotice(text, kAppTitle);
}

void TForm1::SendBtnClick() {
  // The same lines as theolink-cli send: the grid holds what the list holds once the
  // editor is left, and Send cannot be reached before.
  const StartResult started = controller_.SendBtnClick(SendLinesFor(data_));
  transferRunning_ = started == StartResult::Started;
  if (started == StartResult::PortFailed) ShowPortOpenFailure();
}

void TForm1::StopBtnClick() { controller_.StopBtnClick(); }

void TForm1::Timer1Timer() { controller_.Timer1Timer(); }

void TForm1::ShowRawCopyPath(const std::string& path) {
  SetStatus(0, StatusText(0) + QStringLiteral("  ") + T(TextId::RawCopyKept) + QString::fromLocal8Bit(path.c_str()));
}

void TForm1::ShowStatus(TextId message) { SetStatus(0, T(message)); }

void TForm1::ShowCounter(TextId prefix, int value) { SetStatus(1, T(prefix) + QString::number(value)); }

void TForm1::EnableControl(TransferControl control, bool enabled) {
  QWidget* widget = nullptr;
  switch (control) {
    case TransferControl::OpenBtn: widget = openBtn_; break;
    case TransferControl::SaveBtn: widget = saveBtn_; break;
    case TransferControl::SendBtn: widget = sendBtn_; break;
    case TransferControl::ReceiveBtn: widget = receiveBtn_; break;
    case TransferControl::StopBtn: widget = stopBtn_; break;
    case TransferControl::ComportSettingGroup: widget = comportSettingGroup_; break;
    case TransferControl::TransControlGroup: widget = transControlGroup_; break;
    case TransferControl::FileControlGroup: widget = fileControlGroup_; break;
  }
  if (widget != nullptr) widget->setEnabled(enabled);
  // Every end of a transfer disables Stop; look at how it ended once the controller is done.
  if (control == TransferControl::StopBtn && !enabled)
    QMetaObject::invokeMethod(this, [this] { TransferEnded(); }, Qt::QueuedConnection);
}

void TForm1::TransferEnded() {
  if (!transferRunning_ || controller_.TransferState() != TransferIdle) return;
  transferRunning_ = false;
  if (!host_.PortErrorText().empty()) ShowPortError(host_.PortErrorText());
  if (controller_.LinkDropped()) Notice(TextId::LinkDropped);
  // A copy that failed part way is not pointed to as if it held everything.
  const std::string& copyError = rawCopy_.Error();
  const std::string path = copyError.empty() ? controller_.RawCopyPath() : std::string();
  if (controller_.ReceiveLimitReached()) {
    ShowReceiveLimit(path);
  } else if (!path.empty()) {
    ShowRawCopyPath(path);
  }
  if (!copyError.empty()) dialogs_.ShowNotice(UiText(FillText(PickText(TextId::RawCopyFailed), {copyError})), kAppTitle);
}

void TForm1::ShowReceiveLimit(const std::string& rawCopyPath) {
  // Nothing was loaded, so say why and where the bytes are: the whole story in a notice,
  // its head in panel 0, which is too narrow for more.
  const std::string limit = std::to_string(controller_.ReceiveLimit());
  QString text = UiText(FillText(PickText(TextId::ReceiveLimitReached), {limit}));
  if (!rawCopyPath.empty()) {
    text += QStringLiteral(" ") + T(TextId::RawCopyKeepsAll) + QStringLiteral("\n") + T(TextId::RawCopyKept) +
            QString::fromLocal8Bit(rawCopyPath.c_str());
  }
  SetStatus(0, UiText(FillText(PickText(TextId::ReceiveLimitStatus), {limit})));
  panels_[0]->setToolTip(text);
  dialogs_.ShowNotice(text, kAppTitle);
}

void TForm1::ShowMessage(TextId message) { Notice(message); }

void TForm1::ShowSendCut(const SendCut& cut) {
  const QString text = UiText(LineCutShortText(cut.Line, cut.Total, DisplayText(cut.Name).toUtf8().toStdString(), cut.WholeLines, cut.Error));
  SetStatus(0, text);
  dialogs_.ShowNotice(text, kAppTitle);
}

void TForm1::RefreshViews() {
  InitDataShowView();
  RefleshDataShowView();
}

void TForm1::ShowPortError(const std::string& text) { dialogs_.ShowNotice(UiText(text), kAppTitle); }

// --- helpers -------------------------------------------------------------------------

QString TForm1::StatusText(int panel) const { return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString(); }

void TForm1::SetStatus(int panel, const QString& text) {
  panels_[panel]->setText(text);
  panels_[panel]->setToolTip(text);
}

void TForm1::Notice(TextId id) { dialogs_.ShowNotice(T(id), kAppTitle); }

void TForm1::NoticeLater(TextId id, std::function<void()> then) {
  // A pasted block of bad cells gives one box per kind of fault, not one per cell.
  if (std::find(pendingNotices_.begin(), pendingNotices_.end(), id) != pendingNotices_.end()) return;
  pendingNotices_.push_back(id);
  QMetaObject::invokeMethod(
      this,
      [this, id, then = std::move(then)] {
        pendingNotices_.erase(std::find(pendingNotices_.begin(), pendingNotices_.end(), id));
        Notice(id);
        if (then) then();
      },
      Qt::QueuedConnection);
}

bool TForm1::Ask(TextId question) { return dialogs_.AskOkCancel(T(question), UiText(PickCaption(question))); }

}  // namespace theolink
