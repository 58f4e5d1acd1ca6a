#include "window/main_form.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
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
#include "app/grid_names.h"
#include "app/grid_write_back.h"
#include "app/help_sections.h"
#include "app/language.h"
#include "app/last_folder.h"
#include "app/recent_files.h"
#include "app/save_plan.h"
#include "app/station_check_lines.h"
#include "app/send_cut_text.h"
#include "app/text_table.h"
#include "app/window_modes.h"
#include "app/window_texts.h"
#include "files/file_io.h"
#include "files/data_views.h"
#include "files/file_open.h"
#include "files/plan_scene.h"
#include "files/station_check.h"
#include "files/save_writers.h"
#include "serial/com_error.h"
#include "serial/transfer_send_lines.h"
#include "window/com_combo_box.h"
#include "window/dialogs.h"
#include "window/display_text.h"
#include "window/grid_model.h"
#include "window/grid_view.h"
#include "window/line_view.h"
#include "app/save_action.h"
#include "window/plan_panel.h"
#include "window/plan_view.h"
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

// How the progress dialog names a file.
QString FileLabel(const std::string& path) { return QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName(); }

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
  // The units in force are worth knowing before any data comes.
  SetStatus(2, UiText(CurrentUnitText(settings_, CurrentLanguage())));
  setAcceptDrops(true);
  PlaceOnScreen();
  // Not the port box: a stray key there would replace the port's name.
  receiveBtn_->setFocus();
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
  measText_ = new LineView(views);
  measText_->setObjectName(QStringLiteral("MeasText"));
  measText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  measText_->setFont(DataFont());
  gridModel_ = new GridModel(this);
  gridModel_->OnCellEdited = [this](int row, int column) { StrGridSetEditText(column, row + 1); };
  // The title's "*" follows the grid, whatever changed it. A typed cell is marked modified
  // by its check, which comes after the change is announced.
  connect(gridModel_, &QAbstractItemModel::dataChanged, this, &TForm1::ShowTitle, Qt::QueuedConnection);
  connect(gridModel_, &QAbstractItemModel::rowsInserted, this, &TForm1::ShowTitle);
  connect(gridModel_, &QAbstractItemModel::rowsRemoved, this, &TForm1::ShowTitle);
  connect(gridModel_, &QAbstractItemModel::modelReset, this, &TForm1::ShowTitle);
  strGrid_ = new GridView(views);
  strGrid_->OnPaste = [this](const QString& text) { PasteIntoGrid(text); };
  strGrid_->OnUndo = [this] { GridUndo(); };
  strGrid_->OnRedo = [this] { GridRedo(); };
  strGrid_->OnDelete = [this](GridRect selected) { DeleteInGrid(selected); };
  strGrid_->OnCopy = [this](GridRect selected) { CopyFromGrid(selected); };
  strGrid_->OnCellEditorClosed = [this] { gridModel_->SealTyping(); };
  strGrid_->setObjectName(QStringLiteral("StrGrid"));
  strGrid_->setModel(gridModel_);
  // A surveyor who has gone on to another cell is not sent back to the refused one.
  connect(strGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (resumeCell_.isValid() && current != QModelIndex(resumeCell_)) resumeCell_ = QPersistentModelIndex();
          });
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
  findBox_ = new QLineEdit(views);
  findBox_->setObjectName(QStringLiteral("FindBox"));
  findBox_->setClearButtonEnabled(true);
  findBox_->installEventFilter(this);
  findBox_->hide();
  viewsLayout->addWidget(findBox_, 1, 0);
  connect(findBox_, &QLineEdit::returnPressed, this, &TForm1::FindInGrid);
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, this, &TForm1::ShowFindBox);
  // The plan shares the room with the views when it is shown; the views stay as they are.
  auto* viewSplitter = new QSplitter(Qt::Horizontal, panel1);
  viewSplitter->setObjectName(QStringLiteral("ViewSplitter"));
  viewSplitter->setChildrenCollapsible(false);
  viewSplitter->addWidget(views);
  planPanel_ = new PlanPanel(
      dialogs_, [this] { return BuildPlanScene(data_, settings_); }, [this] { return StartFolder(); }, viewSplitter);
  planPanel_->SetCheckSource([this] {
    return StationCheckLines(data_.MeasurementList, CheckStations(data_.MeasurementList, settings_), settings_,
                             CurrentLanguage());
  });
  planPanel_->View().OnRowClicked = [this](std::size_t row) {
    if (data_.DataKind != DataKind::Coord || row >= static_cast<std::size_t>(gridModel_->rowCount())) return;
    const QModelIndex index = gridModel_->index(static_cast<int>(row), std::max(1, strGrid_->currentIndex().column()));
    strGrid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    strGrid_->scrollTo(index);
  };
  connect(strGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (current.isValid()) planPanel_->View().SelectRow(static_cast<std::size_t>(current.row()));
  });
  viewSplitter->addWidget(planPanel_);
  planPanel_->hide();
  row->addWidget(viewSplitter, 1);

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
  // A screen reader names a list by its label, not by the value it shows.
  label11_->setBuddy(comComboBox7_);
  label12_->setBuddy(comComboBox8_);
  // A device path is longer than the box: the open list is as wide as its longest entry.
  comComboBox7_->view()->setMinimumWidth(comComboBox7_->width());
  comComboBox7_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  transControlGroup_ = MakeGroup(tabSheet1, "TransControlGroup", 128);
  receiveBtn_ = MakeButton(transControlGroup_, "ReceiveBtn", 10, 28);
  sendBtn_ = MakeButton(transControlGroup_, "SendBtn", 100, 28);
  stopBtn_ = MakeButton(transControlGroup_, "StopBtn", 55, 80);

  fileControlGroup_ = MakeGroup(tabSheet1, "FileControlGroup", 258);
  coordBtn_ = MakeButton(fileControlGroup_, "CoordBtn", 10, 26);
  codeBtn_ = MakeButton(fileControlGroup_, "CodeBtn", 100, 26);
  openBtn_ = MakeButton(fileControlGroup_, "OpenBtn", 55, 70);
  recentBtn_ = MakeButton(fileControlGroup_, "RecentBtn", 137, 70, 24, 30);
  recentMenu_ = new QMenu(this);
  recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
  recentMenu_->setToolTipsVisible(true);
  saveBtn_ = MakeButton(fileControlGroup_, "SaveBtn", 55, 114);
  settingBtn_ = MakeButton(fileControlGroup_, "SettingBtn", 10, 170);
  helpBtn_ = MakeButton(fileControlGroup_, "HelpBtn", 100, 170);
  planBtn_ = MakeButton(fileControlGroup_, "PlanBtn", 55, 214);
  planBtn_->setCheckable(true);
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

  const std::pair<QPushButton*, void (TForm1::*)()> clicks[] = {
      {receiveBtn_, &TForm1::ReceiveBtnClick}, {sendBtn_, &TForm1::SendBtnClick},
      {stopBtn_, &TForm1::StopBtnClick},       {coordBtn_, &TForm1::CoordBtnClick},
      {codeBtn_, &TForm1::CodeBtnClick},       {openBtn_, &TForm1::OpenBtnClick},
      {saveBtn_, &TForm1::SaveBtnClick},       {settingBtn_, &TForm1::SettingBtnClick},
      {helpBtn_, &TForm1::HelpBtnClick},       {okBtn_, &TForm1::OKBtnClick},
      {appendBtn_, &TForm1::AppendBtnClick},   {insertBtn_, &TForm1::InsertBtnClick},
      {delBtn_, &TForm1::DelBtnClick},         {planBtn_, &TForm1::PlanBtnClick},
      {recentBtn_, &TForm1::RecentBtnClick}};
  for (const auto& [button, slot] : clicks) connect(button, &QPushButton::clicked, this, slot);
  AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), openBtn_);
  AddShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), saveBtn_);
  AddShortcut(QKeySequence(Qt::Key_F1), helpBtn_);
  stopShortcut_ = AddShortcut(QKeySequence(Qt::Key_Escape), stopBtn_);
  stopShortcut_->setEnabled(false);
  progressTicker_ = new QTimer(this);
  progressTicker_->setInterval(250);
  connect(progressTicker_, &QTimer::timeout, this, &TForm1::ShowTransferProgress);
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
  data_.DataKind = DataKind::Measure;
  pageControl1_->setCurrentIndex(0);
  ShowTitle();
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
  SetCaption(planBtn_, TextId::PlanBtn);
  // Too small for words: the arrow shows, the name is said and shown as a tip.
  recentBtn_->setText(QString(QChar(0x25BE)));  // ▾
  recentBtn_->setAccessibleName(T(TextId::RecentBtn));
  recentBtn_->setToolTip(T(TextId::RecentBtn));
  planPanel_->SetCaptions();
  comComboBox7_->setAccessibleName(label11_->text());
  if (comComboBox7_->lineEdit() != nullptr) comComboBox7_->lineEdit()->setAccessibleName(label11_->text());
  comComboBox8_->setAccessibleName(label12_->text());
  fileControlGroup_->setAccessibleName(T(TextId::FileControlGroupName));
  measText_->setAccessibleName(T(TextId::MeasTextName));
  strGrid_->setAccessibleName(T(TextId::StrGridName));
  findBox_->setPlaceholderText(T(TextId::FindBoxName));
  findBox_->setAccessibleName(findBox_->placeholderText());
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
  tasks_.Abandon();
  timer1_.Stop();
  if (comPort1_.Connected()) host_.ClosePort();
  const QString port = comComboBox7_->currentText();
  StoreFormPositions(config_, {comComboBox7_->findText(port), comComboBox8_->currentIndex(),
                               port.toLocal8Bit().toStdString()});
  // The width the plan added is not kept: the next start shows the plan hidden.
  StoreFormGeometry(config_, {x(), y(), width() - planPanel_->GrownBy(), height()});
  if (form2_) form2_->hide();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closed_ && !MayDiscardData()) {
    event->ignore();
    return;
  }
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
  planPanel_->DataChanged();
  if (data_.DataKind == DataKind::Measure) {
    measText_->show();
    strGrid_->hide();
    findBox_->hide();
    sendBtn_->setEnabled(SendEnabledFor(data_.DataKind));
    measText_->clear();
    return;
  }
  measText_->hide();
  strGrid_->show();
  sendBtn_->setEnabled(SendEnabledFor(data_.DataKind));
  QStringList headers;
  // The unit below the name: the columns stay as narrow as the names allow.
  for (const std::string& text : GridHeaderTexts(data_.DataKind, settings_, CurrentLanguage(), "\n"))
    headers << UiText(text);
  if (data_.DataKind == DataKind::Coord) {
    gridModel_->Reset(static_cast<int>(CoordGridColumns), headers, data_.DataKind);
    // The standard widths, widened where this platform's font needs more for a header.
    QHeaderView* header = strGrid_->horizontalHeader();
    for (int c = 0; c < static_cast<int>(CoordGridColumns); ++c)
      strGrid_->setColumnWidth(c, std::max(CoordGridWidths[static_cast<std::size_t>(c)], header->sectionSizeHint(c)));
  } else {
    gridModel_->Reset(static_cast<int>(CodeGridColumns), headers, data_.DataKind);
  }
}

void TForm1::RefleshDataShowView() {
  planPanel_->DataChanged();
  switch (data_.DataKind) {
    case DataKind::Measure:
      sendBtn_->setEnabled(false);
      ShowMeasureText();
      break;
    case DataKind::Coord:
      sendBtn_->setEnabled(true);
      ShowCoordGrid();
      break;
    case DataKind::Code:
      ShowCodeGrid();
      break;
  }
}

void TForm1::ShowMeasureText() {
  if (data_.MeasurementList.empty()) return;
  // An open makes the lines on its own thread; the view draws only those on screen.
  std::shared_ptr<const TextViewLines> lines = std::exchange(prepared_.Text, nullptr);
  measText_->SetLines(lines ? std::move(lines) : MeasureTextView(data_, settings_));
  // The units the numbers are in, above the lines and not one of them.
  measText_->SetHeading(UiText(CurrentUnitText(settings_, CurrentLanguage())));
  measText_->scrollToTop();
  ShowTotal();
}

void TForm1::ShowCoordGrid() {
  if (data_.PointList.empty()) return;
  auto rows = std::exchange(prepared_.Rows, std::nullopt);
  gridModel_->SetRows(rows ? std::move(*rows) : CoordGridRows(data_, settings_));
  strGrid_->scrollToTop();
  ShowTotal();
}

void TForm1::ShowCodeGrid() {
  if (data_.CodeList.empty()) return;
  auto rows = std::exchange(prepared_.Rows, std::nullopt);
  gridModel_->SetRows(rows ? std::move(*rows) : CodeGridRows(data_));
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
  // Coord on the coordinate grid opens the editor on it as it is: nothing is lost.
  if (data_.DataKind != DataKind::Coord && !MayLeaveGrid()) return;
  ApplyModeStep(CoordModeStep(data_, settings_, AskPerson()));
}

void TForm1::CodeBtnClick() {
  if (!MayLeaveGrid()) return;
  ApplyModeStep(CodeModeStep(data_, AskPerson()));
}

bool TForm1::MayLeaveGrid() {
  // Edits live only in the grid until Return writes them back.
  if (!gridModel_->GridModified()) return true;
  return dialogs_.AskYesNo(T(TextId::AskDiscardGrid), UiText(PickCaption(TextId::AskDiscardGrid)));
}

bool TForm1::MayDiscardData() {
  // Written back by Return but saved to no file: the "*" of the title.
  if (gridModel_->GridModified() || !dataModified_) return MayLeaveGrid();
  return dialogs_.AskYesNo(T(TextId::AskDiscardData), UiText(PickCaption(TextId::AskDiscardData)));
}

AskOk TForm1::AskPerson() {
  return [this](TextId question) { return Ask(question); };
}

void TForm1::ApplyModeStep(const ModeStep& step) {
  if (step.enterEditor) EnterGridEditor();
  if (step.views != ViewUpdate::None) InitDataShowView();
  if (step.views == ViewUpdate::InitAndRefresh) RefleshDataShowView();
  if (step.notice) Notice(*step.notice);
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
  const int row = CurrentGridRow();
  if (!gridModel_->DeleteRow(row)) return;
  MakeCellCurrent(std::min(row, gridModel_->rowCount() - 1), std::max(1, strGrid_->currentIndex().column()));
  ShowGridRowCount();
}

void TForm1::StrGridSetEditText(int ACol, int ARow) {
  const CellCheck check = gridModel_->CheckEdited(ARow - 1, ACol);
  if (check.accepted || !check.message) return;
  // The cell holds its old text again, and so does the editor once this returns, before
  // the box takes the focus (the editor's commit on losing it would bring the refused text
  // back otherwise).
  const QModelIndex cell = gridModel_->index(ARow - 1, ACol);
  // This runs inside the cell editor's key handling; a box's event loop there would let
  // the editor be closed and deleted under its own feet.
  NoticeLater(*check.message, [this, cell = QPersistentModelIndex(cell)] { ResumeCellEditing(cell); });
}

void TForm1::ResumeCellEditing(const QPersistentModelIndex& cell) {
  resumeCell_ = cell;
  // The window gets its focus back only once the box's window is gone; the window manager
  // may say so after the box has returned, or not at all without one.
  if (!isActiveWindow()) activateWindow();
  else QMetaObject::invokeMethod(this, &TForm1::ResumePendingCell, Qt::QueuedConnection);
}

void TForm1::ResumePendingCell() {
  const QPersistentModelIndex cell = std::exchange(resumeCell_, QPersistentModelIndex());
  if (!cell.isValid() || !gridModel_->Editing() || !strGrid_->isVisible()) return;
  strGrid_->setCurrentIndex(cell);
  strGrid_->setFocus();
  // The box took the focus and so closed the editor: the surveyor types on where it was,
  // after the text the cell kept, not over it.
  if (strGrid_->CellEditorOpen()) return;
  strGrid_->edit(cell);
  if (auto* editor = qobject_cast<QLineEdit*>(strGrid_->indexWidget(cell))) {
    editor->deselect();
    editor->end(false);
  }
}

void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // After the activation has given the focus back to where it was before the box.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && resumeCell_.isValid())
    QMetaObject::invokeMethod(this, &TForm1::ResumePendingCell, Qt::QueuedConnection);
}

void TForm1::PasteIntoGrid(const QString& text) {
  const QModelIndex start = strGrid_->currentIndex();
  const GridPaste pasted = gridModel_->Paste(start.row(), start.column(), DataText(text));
  if (pasted.rowsAdded > 0) ShowGridRowCount();
  // The paste came with a key press: its boxes wait until it has been handled.
  for (TextId message : pasted.messages) NoticeLater(message);
}

void TForm1::GridUndo() {
  if (gridModel_->Editing()) ShowGridStep(gridModel_->Undo());
}

void TForm1::GridRedo() {
  if (gridModel_->Editing()) ShowGridStep(gridModel_->Redo());
}

void TForm1::ShowGridStep(const std::optional<GridSplice>& splice) {
  if (!splice) return;
  if (splice->rows != splice->rowsAfter) ShowGridRowCount();
  // Where the step was, so the surveyor sees what came back.
  MakeCellCurrent(std::clamp(splice->at, 0, gridModel_->rowCount() - 1), std::max(1, splice->column));
}

void TForm1::DeleteInGrid(GridRect selected) {
  if (!gridModel_->Editing() || selected.Empty()) return;
  // With the row label in it the selection is whole rows, and they go; otherwise only the
  // cells' texts. Either is one step to undo, so no question is asked.
  if (selected.left > 0) {
    gridModel_->ClearCells(selected);
    return;
  }
  if (gridModel_->DeleteRows(selected.top, selected.bottom - selected.top + 1) > 0) ShowGridRowCount();
  MakeCellCurrent(std::min(selected.top, gridModel_->rowCount() - 1), 1);
}

void TForm1::CopyFromGrid(GridRect selected) const {
  if (selected.Empty()) return;
  QGuiApplication::clipboard()->setText(DisplayText(JoinCopiedBlock(gridModel_->Rows(), selected)));
}

void TForm1::ShowFindBox() {
  if (!strGrid_->isVisible()) return;
  findBox_->show();
  findBox_->setFocus(Qt::ShortcutFocusReason);
  findBox_->selectAll();
}

void TForm1::FindInGrid() {
  const QString typed = findBox_->text().trimmed();
  if (typed.isEmpty() || !strGrid_->isVisible()) return;
  const std::optional<int> row = FindNamedRow(gridModel_->Rows(), DataText(typed), strGrid_->currentIndex().row());
  if (!row) {
    findStatus_ = UiText(FillText(PickText(data_.DataKind == DataKind::Code ? TextId::NoCodeNamed : TextId::NoPointNamed),
                                           {typed.toUtf8().toStdString()}));
    SetStatus(0, findStatus_);
    return;
  }
  if (!findStatus_.isEmpty() && StatusText(0) == findStatus_) SetStatus(0, QString());
  findStatus_.clear();
  const QModelIndex index = gridModel_->index(*row, 1);
  strGrid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  strGrid_->scrollTo(index);
}

void TForm1::OKBtnClick() {
  // Close an open cell editor first, so its text is in the grid.
  strGrid_->CloseCellEditor();
  const bool gridModified = gridModel_->GridModified();
  const GridReturn step = ReturnFromGrid(gridModel_->Rows(), gridModified, settings_, data_);
  if (step.notice) Notice(*step.notice);
  if (step.select) MakeCellCurrent(step.select->row, step.select->column);
  // The changes are in the data now, not yet in a file.
  if (step.leave && gridModified) dataModified_ = true;
  if (step.leave) LeaveGridEditor();
}

void TForm1::LeaveGridEditor() {
  gridModel_->SetGridModified(false);
  EndGridEditing();
  SetStatus(0, QString());
  InitDataShowView();
  RefleshDataShowView();
}

void TForm1::EndGridEditing() {
  strGrid_->CloseCellEditor();
  gridModel_->SetEditing(false);
  strGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  pageControl1_->setCurrentIndex(0);
}

void TForm1::PlanBtnClick() {
  planPanel_->ShowPlan(!planPanel_->PlanShown());
  planBtn_->setChecked(planPanel_->PlanShown());
}

void TForm1::HelpBtnClick() {
  if (!MayDiscardData()) return;
  if (GridEditing()) EndGridEditing();
  data_.DataKind = DataKind::Measure;
  InitDataShowView();
  ShowHelp();
}

void TForm1::ShowHelp() {
  ClearMeasureData(data_);
  ClearCoordData(data_);
  ClearCodeData(data_);
  SetCurrentFile(std::string());
  planPanel_->DataChanged();
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
  measText_->SetLines(ScreenTextLines(UiText(help.text)), true);
  measText_->scrollToTop();
}

void TForm1::SettingBtnClick() {
  setEnabled(false);
  form2_->move(x() + width() / 2 - form2_->width() / 2, y() + height() / 2 - form2_->height() / 2);
  form2_->show();
  form2_->raise();
}

// --- hints ---------------------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findBox_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    findBox_->hide();
    strGrid_->setFocus();
    return true;
  }
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
  const auto choice = dialogs_.OpenFile(OpenFilterText(CurrentLanguage()), StartFolder());
  if (!choice) return;
  OpenChosenFile(choice->path);
}

void TForm1::OpenChosenFile(const std::string& path) {
  RememberFolder(path);
  OpenPath(path);
}

void TForm1::RecentBtnClick() {
  recentMenu_->clear();
  const std::vector<std::string> files = LoadRecentFiles(config_);
  if (files.empty()) recentMenu_->addAction(T(TextId::RecentNone))->setEnabled(false);
  for (const std::string& file : files) {
    const QString path = QString::fromLocal8Bit(file.c_str());
    QString shown = recentMenu_->fontMetrics().elidedText(path, Qt::ElideMiddle, 520);
    QAction* action = recentMenu_->addAction(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
    action->setToolTip(path);
    // Opened from the event loop, as a button's click is, once the menu has gone.
    connect(action, &QAction::triggered, this, [this, file] {
      QMetaObject::invokeMethod(this, [this, file] { OpenRecent(file); }, Qt::QueuedConnection);
    });
  }
  recentMenu_->popup(recentBtn_->mapToGlobal(QPoint(0, recentBtn_->height())));
}

void TForm1::OpenRecent(const std::string& path) {
  if (!PathExists(path)) {
    RemoveRecentFile(config_, path);
    dialogs_.ShowNotice(T(TextId::RecentMissing).arg(QString::fromLocal8Bit(path.c_str())), kAppTitle);
    return;
  }
  OpenChosenFile(path);
}

struct TForm1::OpenedFile {
  std::string path;
  OpenedData data;
  PreparedViews views;
};

void TForm1::OpenPath(const std::string& path) {
  // Every open comes this way, whatever chose the file.
  if (!MayDiscardData()) return;
  auto opened = std::make_shared<OpenedFile>();
  opened->path = path;
  // The file is read into data of its own. The window's data may be read meanwhile: the
  // window takes no input until the task has ended, so nothing changes it.
  tasks_.Start(
      FileLabel(path),
      [this, opened, path, settings = settings_](TaskProgress& progress) {
        opened->data = OpenDataFileAside(path, settings, &progress);
        if (!opened->data.Outcome.RefreshViews) return;
        const WorkingData& shown = opened->data.Loaded ? opened->data.Data : data_;
        opened->views = PrepareViews(shown, opened->data.DataKind.value_or(data_.DataKind), settings, &progress);
      },
      [this, opened](bool cancelled) {
        if (!cancelled) OpenFinished(*opened);
      });
}

void TForm1::OpenFinished(OpenedFile& opened) {
  if (opened.data.Loaded) {
    AddRecentFile(config_, opened.path);
    SetCurrentFile(opened.path);
  }
  const OpenOutcome outcome = ApplyOpen(data_, std::move(opened.data));
  for (const UserMessage& message : outcome.Messages) ShowMessage(message);
  if (!outcome.RefreshViews) return;
  // The grid is rebuilt from what was opened: editing the old one is over.
  if (GridEditing()) EndGridEditing();
  prepared_ = std::move(opened.views);
  InitDataShowView();
  RefleshDataShowView();
  prepared_ = {};
}

void TForm1::SaveBtnClick() {
  const SaveTalk talk{[this](TextId id) { Notice(id); },
                      [this](const std::string& filter) { return dialogs_.SaveFile(filter, StartFolder()); }, AskPerson()};
  const std::optional<SaveJob> job = DecideSave(data_, !measText_->IsEmpty(), CurrentLanguage(), talk);
  if (job) StartSave(*job);
}

void TForm1::StartSave(const SaveJob& job) {
  RememberFolder(job.file.path);
  auto report = std::make_shared<SaveReport>();
  // The window takes no input while the file is written, so the data and the lines stay
  // as they are; a cancelled save leaves the old file as it was, and nothing to tell.
  tasks_.Start(
      FileLabel(job.file.path),
      [this, report, job, lines = measText_->Lines(), settings = settings_](TaskProgress& progress) {
        *report = RunSave(job, data_, lines->Lines.Lines(), settings, &progress);
      },
      [this, report, viewTextOnly = job.viewTextOnly](bool cancelled) {
        if (cancelled) return;
        if (report->Saved) {
          const SaveSummary& saved = *report->Saved;
          const std::string shown = QString::fromLocal8Bit(saved.Path.c_str()).toUtf8().toStdString();
          SetStatus(0, UiText(SaveSummaryText(saved, shown, CurrentLanguage())));
          AddRecentFile(config_, saved.Path);
          // The help's lines are no working data of that file.
          if (!viewTextOnly) SetCurrentFile(saved.Path);
        }
        ShowMessage(report->Message);
      });
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
  if (!MayDiscardData()) return;
  const ModeStep step = ReceiveModeStep(data_, AskPerson());
  if (step.declined) return;
  ApplyModeStep(step);
  const StartResult started = controller_.ReceiveBtnClick();
  transferRunning_ = started == StartResult::Started;
  if (transferRunning_) StartTransferProgress();
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
  if (transferRunning_) StartTransferProgress();
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
  progressTicker_->stop();
  stopShortcut_->setEnabled(false);
  ShowTransferProgress();
  const ReceiveOutcome loaded = controller_.LastOutcome();
  // Received data is in no file yet.
  if (controller_.LastWasReceive() && (loaded == ReceiveOutcome::Codes || loaded == ReceiveOutcome::Coordinates ||
                                       loaded == ReceiveOutcome::Measurement))
    SetCurrentFile(std::string());
  const TransferEnd end = DecideTransferEnd({host_.PortErrorText(), controller_.LinkDropped(), controller_.LastWasReceive(),
                                             controller_.ReceiveLimitReached(), controller_.RawCopyPath(), rawCopy_.Error()});
  for (TransferEndStep step : end.steps) ShowTransferEnd(step, end.rawCopyPath);
}

void TForm1::ShowTransferEnd(TransferEndStep step, const std::string& rawCopyPath) {
  switch (step) {
    case TransferEndStep::PortError: return ShowPortError(host_.PortErrorText());
    case TransferEndStep::LinkDropped: return Notice(TextId::LinkDropped);
    case TransferEndStep::ReceiveLimit: return ShowReceiveLimit(rawCopyPath);
    case TransferEndStep::RawCopyPath: return ShowRawCopyPath(rawCopyPath);
    case TransferEndStep::RawCopyFailed:
      return dialogs_.ShowNotice(UiText(FillText(PickText(TextId::RawCopyFailed), {rawCopy_.Error()})), kAppTitle);
  }
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

void TForm1::StartTransferProgress() {
  transferClock_.start();
  stopShortcut_->setEnabled(true);
  ShowTransferProgress();
  progressTicker_->start();
}

void TForm1::ShowTransferProgress() {
  const TransferTally tally = controller_.Tally();
  const qint64 seconds = transferClock_.isValid() ? transferClock_.elapsed() / 1000 : 0;
  SetStatus(2, UiText(TransferProgressText(tally.Bytes, tally.Lines, seconds, CurrentLanguage())));
}

// --- helpers -------------------------------------------------------------------------

void TForm1::ShowTitle() {
  const bool modified = dataModified_ || gridModel_->GridModified();
  const std::string name = currentFile_.empty() ? std::string() : FileLabel(currentFile_).toUtf8().toStdString();
  const QString title = UiText(DocumentTitle(name, modified, CurrentLanguage()));
  if (title != windowTitle()) setWindowTitle(title);
}

void TForm1::SetCurrentFile(const std::string& path) {
  currentFile_ = path;
  dataModified_ = false;
  ShowTitle();
}

QShortcut* TForm1::AddShortcut(const QKeySequence& keys, QPushButton* button) {
  auto* shortcut = new QShortcut(keys, this);
  shortcut->setContext(Qt::WindowShortcut);
  connect(shortcut, &QShortcut::activated, this, [this, button] { PressByKey(button); });
  return shortcut;
}

void TForm1::PressByKey(QPushButton* button) {
  // Not past a box or dialog, nor while the window waits for a file, nor to a button the
  // mouse could not reach (another page, a transfer running, the settings dialog open).
  if (QApplication::activeModalWidget() != nullptr || tasks_.Running()) return;
  if (!button->isVisible() || !button->isEnabled()) return;
  button->click();
}

QString TForm1::StatusText(int panel) const { return panel >= 0 && panel < 3 ? panels_[panel]->text() : QString(); }

void TForm1::SetStatus(int panel, const QString& text) {
  panels_[panel]->setText(text);
  panels_[panel]->setToolTip(text);
}

void TForm1::Notice(TextId id) { dialogs_.ShowNotice(T(id), kAppTitle); }

void TForm1::ShowMessage(const UserMessage& message) {
  if (message.Empty()) return;
  QString text = message.Id ? T(*message.Id) : DisplayText(message.Text);
  // File names and the system's reasons are bytes of the file system's own encoding.
  for (const std::string& arg : message.Args) text += QStringLiteral("\n") + QString::fromLocal8Bit(arg.c_str());
  dialogs_.ShowNotice(text, message.Caption.empty() ? kAppTitle : DisplayText(message.Caption));
}

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
