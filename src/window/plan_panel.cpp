#include "window/plan_panel.h"

#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <utility>

#include "app/text_table.h"
#include "files/file_io.h"
#include "window/dialogs.h"
#include "window/display_text.h"
#include "window/plan_export.h"
#include "window/plan_view.h"

namespace theolink {
namespace {

QString T(TextId id) { return UiText(PickText(id)); }

const QString kAppTitle = QStringLiteral("Theolink II");
// How much wider the window gets for the plan, at most.
constexpr int kPlanWidth = 560;

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

}  // namespace

PlanPanel::PlanPanel(Dialogs& dialogs, std::function<PlanScene()> scene, std::function<QString()> folder,
                     QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), scene_(std::move(scene)), folder_(std::move(folder)) {
  setObjectName(QStringLiteral("PlanPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* buttons = new QHBoxLayout;
  fitAllBtn_ = MakeButton(this, "FitAllBtn");
  savePlanBtn_ = MakeButton(this, "SavePlanBtn");
  printPlanBtn_ = MakeButton(this, "PrintPlanBtn");
  buttons->addWidget(fitAllBtn_);
  buttons->addWidget(savePlanBtn_);
  buttons->addWidget(printPlanBtn_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  view_ = new PlanView(this);
  layout->addWidget(view_, 1);
  connect(fitAllBtn_, &QPushButton::clicked, this, &PlanPanel::FitAllBtnClick);
  connect(savePlanBtn_, &QPushButton::clicked, this, &PlanPanel::SavePlanBtnClick);
  connect(printPlanBtn_, &QPushButton::clicked, this, &PlanPanel::PrintPlanBtnClick);
  SetCaptions();
}

void PlanPanel::SetCaptions() {
  for (auto [button, id] : {std::pair{fitAllBtn_, TextId::FitAllBtn}, std::pair{savePlanBtn_, TextId::SavePlanBtn},
                            std::pair{printPlanBtn_, TextId::PrintPlanBtn}}) {
    button->setText(T(id));
    button->setAccessibleName(button->text());
  }
  view_->setAccessibleName(T(TextId::PlanViewName));
  view_->update();
}

void PlanPanel::DataChanged() {
  // A change of mode refreshes the views twice: the plan is made once, after both.
  if (stale_) return;
  stale_ = true;
  QMetaObject::invokeMethod(
      this, [this] { if (stale_ && !isHidden()) Rebuild(); }, Qt::QueuedConnection);
}

void PlanPanel::ShowPlan(bool shown) {
  auto* splitter = qobject_cast<QSplitter*>(parentWidget());
  QWidget* top = window();
  if (!shown) {
    setVisible(false);
    // The window gives back what it grew by for the plan.
    if (grownBy_ > 0 && !top->isMaximized() && !top->isFullScreen()) top->resize(top->width() - grownBy_, top->height());
    grownBy_ = 0;
    return;
  }
  const int views = splitter != nullptr ? splitter->width() : 0;
  // The window grows for the plan as far as its screen allows; the views keep their width
  // if there is room, else the two share it.
  int grow = 0;
  if (top->isVisible() && !top->isMaximized() && !top->isFullScreen() && top->screen() != nullptr) {
    const int room = top->screen()->availableGeometry().right() - top->frameGeometry().right();
    grow = std::clamp(room, 0, kPlanWidth);
    if (grow > 0) top->resize(top->width() + grow, top->height());
  }
  grownBy_ = grow;
  setVisible(true);
  if (splitter != nullptr) {
    const int total = views + grow;
    const int plan = std::max(grow, total / 2);
    splitter->setSizes({total - plan, plan});
  }
  // Made at once, also in a window not on screen yet.
  if (stale_) Rebuild();
}

void PlanPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) Rebuild();
}

void PlanPanel::Rebuild() {
  stale_ = false;
  view_->SetScene(std::make_shared<const PlanScene>(scene_()));
}

void PlanPanel::FitAllBtnClick() { view_->FitAll(); }

void PlanPanel::SavePlanBtnClick() {
  const auto choice = dialogs_.SaveFile(std::string(PickText(TextId::PlanPictureFilter)), folder_());
  if (!choice) return;
  if (PathExists(choice->path) &&
      !dialogs_.AskOkCancel(T(TextId::AskReplaceFile), UiText(PickCaption(TextId::AskReplaceFile))))
    return;
  const QByteArray bytes =
      PlanPicture(view_->Paint(), PlanFormatFor(choice->path, choice->filterIndex), T(TextId::PlanViewName));
  const FileStatus status = WriteFileAtomically(choice->path, std::string_view(bytes.constData(), bytes.size()));
  const std::string shown = QString::fromLocal8Bit(choice->path.c_str()).toStdString();
  if (!status.Ok()) {
    dialogs_.ShowNotice(UiText(FillText(PickText(TextId::PlanPictureFailed), {FileStatusText(choice->path, status)})),
                        kAppTitle);
    return;
  }
  dialogs_.ShowNotice(UiText(FillText(PickText(TextId::PlanPictureSaved), {shown})), kAppTitle);
}

void PlanPanel::PrintPlanBtnClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(view_->width() > view_->height() ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (!dialogs_.ChoosePrinter(printer)) return;
  PrintPlan(printer, view_->Paint());
}

}  // namespace theolink
