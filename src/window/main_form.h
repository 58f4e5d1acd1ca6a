#pragma once
// TForm1, the main window: the views, the control panel, the status bar, ComPort1 and
// Timer1. Handlers keep the behaviour's names and leave the work to the lower layers.
#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/grid_editor.h"
#include "app/save_plan.h"
#include "app/transfer_end.h"
#include "app/window_modes.h"
#include "files/data_views.h"
#include "files/working_data.h"
#include "records/settings.h"
#include "records/user_message.h"
#include "serial/com_port.h"
#include "serial/transfer_controller.h"
#include "window/background_task.h"
#include "window/qt_dispatcher.h"
#include "window/window_context.h"
#include "serial/raw_receive_copy.h"
#include "serial/transfer_port_host.h"
#include "serial/transfer_view.h"
#include "window/qt_transfer_timer.h"

class QGroupBox;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QShortcut;
class QStackedWidget;
class QStatusBar;
class QTimer;

namespace theolink {

class Dialogs;
class GridModel;
class GridView;
class LineView;
class PlanPanel;
class TComComboBox;
class TForm2;

class TForm1 final : public QWidget, private TransferView {
 public:
  explicit TForm1(WindowContext context);
  ~TForm1() override;

  // Handlers.
  void FormCreate();
  void FormClose();
  void ReceiveBtnClick();
  void SendBtnClick();
  void StopBtnClick();
  void Timer1Timer();
  void CoordBtnClick();
  void CodeBtnClick();
  void OpenBtnClick();
  void SaveBtnClick();
  void SettingBtnClick();
  void HelpBtnClick();
  // The menu of the recent files below RecentBtn.
  void RecentBtnClick();
  void OKBtnClick();
  void AppendBtnClick();
  void InsertBtnClick();
  void DelBtnClick();
  // Shows or hides the plan beside the views.
  void PlanBtnClick();
  // Every change of a cell's text while editing (ACol, ARow in grid terms: row 1 is the
  // first data row); the cell already holds the text.
  void StrGridSetEditText(int ACol, int ARow);
  // A tab-separated block from the current cell on, each cell checked as if typed; rows
  // past the end are appended.
  void PasteIntoGrid(const QString& text);
  // True when the grid holds no edits that leaving it would lose, or the surveyor agreed
  // to lose them. Every way out of the grid asks this first.
  bool MayLeaveGrid();
  // MayLeaveGrid, and outside the grid a question when edits written back were never saved.
  bool MayDiscardData();
  void ReceiveBtnMouseMove(int x, int y);
  void SendBtnMouseMove(int x, int y);
  void StopBtnMouseMove(int x, int y);
  void SettingBtnMouseMove(int x, int y);
  void FileControlGroupMouseMove(int x, int y);

  // The views.
  void InitDataShowView();
  void RefleshDataShowView();
  // Loads and shows the help text of the current language (empties the working data).
  void ShowHelp();
  // What Open does with the file its dialog chose; a recent file takes the same road.
  void OpenChosenFile(const std::string& path);
  // A file of the recent files' menu: opened as Open would, or, when it is gone, reported
  // and taken off the list.
  void OpenRecent(const std::string& path);
  // Opens a file as Open does after its dialog, on a thread of its own: the data and views
  // change once it has been read whole.
  void OpenPath(const std::string& path);
  // Opens path once the start's help text has been shown.
  void OpenAfterStart(const std::string& path);
  // Opens the first local file of a drop, as Open does; not while a transfer runs or the
  // grid is being edited. False when nothing was opened.
  bool OpenDropped(const QMimeData& mime);
  // Where the raw copy of the receive that just ended was kept.
  void ShowRawCopyPath(const std::string& path);

  // State, for tests and the screenshot.
  const WorkingData& Data() const { return data_; }
  const Settings& CurrentSettings() const { return settings_; }
  TForm2& Form2() { return *form2_; }
  GridModel& Grid() { return *gridModel_; }
  PlanPanel& Plan() { return *planPanel_; }
  TransferController& Controller() { return controller_; }
  TComPort& ComPort1() { return comPort1_; }
  QString StatusText(int panel) const;
  bool StartHelpShown() const { return !firstPaint_; }
  // An open or save is under way, or a file waits to be opened after the start.
  bool FileWorkPending() const { return !pendingOpen_.empty() || tasks_.Running(); }
  BackgroundTask& Tasks() { return tasks_; }
  bool GridEditing() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // TransferView
  void ShowStatus(TextId message) override;
  void ShowCounter(TextId prefix, int value) override;
  void EnableControl(TransferControl control, bool enabled) override;
  void ShowMessage(TextId message) override;
  void ShowSendCut(const SendCut& cut) override;
  void RefreshViews() override;
  // After a transfer has ended: what went wrong with the port, a hang-up, the raw copy.
  void TransferEnded();
  // Status panel 0 and a notice: the receive passed its size limit; the raw copy is named.
  void ShowReceiveLimit(const std::string& rawCopyPath);
  void ShowPortError(const std::string& text);
  // Status panel 2 while a transfer runs: bytes, lines and the time since it started.
  void StartTransferProgress();
  void ShowTransferProgress();
  // The file's name, and "*" while the grid or the data written back from it is unsaved.
  void ShowTitle();
  // A file now holds the working data as it is (opened, saved); empty: none does.
  void SetCurrentFile(const std::string& path);
  // A key press as a click on the button, when a click could reach it.
  QShortcut* AddShortcut(const QKeySequence& keys, QPushButton* button);
  void PressByKey(QPushButton* button);

  void BuildControls();
  void SetCaptions();
  void SetUpPortBoxes();
  void EnterGridEditor();
  void ShowMeasureText();
  void ShowCoordGrid();
  void ShowCodeGrid();
  void ShowTotal();
  // The current data row of the grid (model row; the first when none is current).
  int CurrentGridRow() const;
  void ShowGridRowCount();
  void MakeCellCurrent(int row, int column);
  void LeaveGridEditor();
  // Cell editing off and page 0, the grid's contents as they are (no write-back).
  void EndGridEditing();
  // The grid's keys: undo and redo, Delete over a selection, copy out.
  void GridUndo();
  void GridRedo();
  void ShowGridStep(const std::optional<GridSplice>& splice);
  void DeleteInGrid(GridRect selected);
  void CopyFromGrid(GridRect selected) const;
  // The find box: shown by Ctrl+F over the grid; Return selects the next row of that name.
  void ShowFindBox();
  void FindInGrid();
  void SetStatus(int panel, const QString& text);
  void Notice(TextId id);
  // Shows what a message holds; nothing for an empty one.
  void ShowMessage(const UserMessage& message);
  // Asks through the dialogs, for the Qt-free decisions.
  AskOk AskPerson();
  void ApplyModeStep(const ModeStep& step);
  void StartSave(const SaveJob& job);
  void ShowTransferEnd(TransferEndStep step, const std::string& rawCopyPath);
  // The notice once the event being handled has returned (then runs after it); used where
  // a box would open inside another widget's event.
  void NoticeLater(TextId id, std::function<void()> then = {});
  void ResumeCellEditing(const QPersistentModelIndex& cell);
  void ResumePendingCell();
  // Receive or Send could not open the port: the reason and what to do.
  void ShowPortOpenFailure();
  void RestorePort(const FormPositions& positions);
  // At the stored place and size, or centred, never larger than the screen allows.
  void PlaceOnScreen();
  bool Ask(TextId question);
  void ShowFirstHelp();
  QString StartFolder() const;
  void RememberFolder(const std::string& chosen);
  struct OpenedFile;
  void OpenFinished(OpenedFile& opened);

  WindowContext context_;
  ConfigFile config_;
  Dialogs& dialogs_;
  WorkingData data_;
  Settings settings_;
  QtDispatcher dispatcher_;
  TComPort comPort1_;
  QtTransferTimer timer1_;
  PortTransferHost host_;
  RawReceiveCopy rawCopy_;
  TransferController controller_;
  std::unique_ptr<TForm2> form2_;
  GridModel* gridModel_ = nullptr;
  bool firstPaint_ = true;
  bool closed_ = false;
  bool transferRunning_ = false;  // a started transfer whose end has not been looked at
  std::string pendingOpen_;
  std::string currentFile_;     // the file the working data came from or went to last
  bool dataModified_ = false;   // the grid's changes went into the data, which is not saved
  QElapsedTimer transferClock_;
  QTimer* progressTicker_ = nullptr;
  QShortcut* stopShortcut_ = nullptr;  // only while a transfer runs: Esc is the editors' too
  QMenu* recentMenu_ = nullptr;
  std::vector<TextId> pendingNotices_;
  QPersistentModelIndex resumeCell_;  // the cell to edit again once a box has gone
  PreparedViews prepared_;  // what an open made ahead for the views it refreshes
  BackgroundTask tasks_{*this};

  QStatusBar* statusBar1_ = nullptr;
  QLabel* panels_[3] = {nullptr, nullptr, nullptr};
  LineView* measText_ = nullptr;
  GridView* strGrid_ = nullptr;
  QLineEdit* findBox_ = nullptr;
  QString findStatus_;  // what the find box last said in panel 0
  QStackedWidget* pageControl1_ = nullptr;
  PlanPanel* planPanel_ = nullptr;
  QPushButton* planBtn_ = nullptr;
  QGroupBox* comportSettingGroup_ = nullptr;
  QGroupBox* transControlGroup_ = nullptr;
  QGroupBox* fileControlGroup_ = nullptr;
  QLabel* label11_ = nullptr;
  QLabel* label12_ = nullptr;
  TComComboBox* comComboBox7_ = nullptr;
  TComComboBox* comComboBox8_ = nullptr;
  QPushButton* receiveBtn_ = nullptr;
  QPushButton* sendBtn_ = nullptr;
  QPushButton* stopBtn_ = nullptr;
  QPushButton* coordBtn_ = nullptr;
  QPushButton* codeBtn_ = nullptr;
  QPushButton* openBtn_ = nullptr;
  QPushButton* recentBtn_ = nullptr;
  QPushButton* saveBtn_ = nullptr;
  QPushButton* settingBtn_ = nullptr;
  QPushButton* helpBtn_ = nullptr;
  QPushButton* appendBtn_ = nullptr;
  QPushButton* insertBtn_ = nullptr;
  QPushButton* delBtn_ = nullptr;
  QPushButton* okBtn_ = nullptr;
};

}  // namespace theolink
