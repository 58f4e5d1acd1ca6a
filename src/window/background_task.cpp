#include "window/background_task.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace theolink {
namespace {

// Escape and the close box ask for a cancel, as the button does; the dialog stays until the
// work has really stopped.
class ProgressDialog final : public QDialog {
 public:
  ProgressDialog(QWidget* parent, std::function<void()> cancel) : QDialog(parent), cancel_(std::move(cancel)) {}
  void reject() override { cancel_(); }

 private:
  std::function<void()> cancel_;
};

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

}  // namespace

BackgroundTask::BackgroundTask(QWidget& window) : window_(window) {
  delay_.setSingleShot(true);
  delay_.setInterval(kDialogDelayMs);
  connect(&delay_, &QTimer::timeout, this, [this] { ShowDialog(); });
  poll_.setInterval(100);
  connect(&poll_, &QTimer::timeout, this, [this] { ShowProgress(); });
}

BackgroundTask::~BackgroundTask() { Abandon(); }

bool BackgroundTask::Start(const QString& label, Work work, Done done) {
  if (Running()) return false;
  cancel_ = false;
  done_ = 0;
  total_ = 0;
  cancelled_ = false;
  failure_ = nullptr;
  finish_ = std::move(done);
  label_ = label;
  const unsigned generation = ++generation_;
  qApp->installEventFilter(this);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  delay_.start();
  worker_ = std::thread([this, generation, work = std::move(work)] {
    bool cancelled = false;
    std::exception_ptr failure;
    try {
      work(*this);
    } catch (const TaskCancelled&) {
      cancelled = true;
    } catch (...) {
      failure = std::current_exception();
    }
    cancelled_ = cancelled;
    failure_ = failure;
    QMetaObject::invokeMethod(this, [this, generation] { Finished(generation); }, Qt::QueuedConnection);
  });
  return true;
}

void BackgroundTask::Cancel() {
  cancel_ = true;
  if (dialog_ != nullptr) {
    if (QPushButton* button = dialog_->findChild<QPushButton*>(QStringLiteral("CancelBtn"))) button->setEnabled(false);
  }
}

void BackgroundTask::Abandon() {
  if (!Running()) return;
  cancel_ = true;
  worker_.join();
  finish_ = nullptr;
  Release();
}

void BackgroundTask::Report(std::uint64_t done, std::uint64_t total) {
  if (OnReport) OnReport(done, total);
  done_.store(done, std::memory_order_relaxed);
  total_.store(total, std::memory_order_relaxed);
  Check();
}

void BackgroundTask::Check() {
  if (cancel_.load(std::memory_order_relaxed)) throw TaskCancelled{};
}

bool BackgroundTask::eventFilter(QObject* watched, QEvent* event) {
  // Input to the window waits for the task; the dialog is a window of its own and takes it.
  if (IsInput(event->type()) && watched->isWidgetType()) {
    const QWidget* widget = static_cast<QWidget*>(watched);
    if (widget->window() == &window_) return true;
  }
  return QObject::eventFilter(watched, event);
}

void BackgroundTask::ShowDialog() {
  auto* dialog = new ProgressDialog(&window_, [this] { Cancel(); });
  dialog->setObjectName(QStringLiteral("ProgressDialog"));
  dialog->setAccessibleName(label_);
  dialog->setWindowTitle(QStringLiteral("Theolink II"));
  dialog->setWindowModality(Qt::WindowModal);
  auto* layout = new QVBoxLayout(dialog);
  auto* label = new QLabel(label_, dialog);
  label->setObjectName(QStringLiteral("ProgressLabel"));
  label->setAccessibleName(label_);
  layout->addWidget(label);
  bar_ = new QProgressBar(dialog);
  bar_->setObjectName(QStringLiteral("ProgressBar"));
  bar_->setAccessibleName(label_);
  bar_->setMinimumWidth(320);
  layout->addWidget(bar_);
  // The toolkit's own Cancel, in the language its translations give.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  cancel->setAccessibleName(cancel->text());
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { Cancel(); });
  layout->addWidget(buttons);
  dialog_ = dialog;
  ShowProgress();
  dialog->show();
  poll_.start();
}

void BackgroundTask::ShowProgress() {
  if (bar_ == nullptr) return;
  const std::uint64_t total = total_.load(std::memory_order_relaxed);
  if (total == 0) {
    bar_->setRange(0, 0);  // a total not known: the bar just moves
    return;
  }
  constexpr int kSteps = 1000;
  const std::uint64_t done = std::min(done_.load(std::memory_order_relaxed), total);
  bar_->setRange(0, kSteps);
  bar_->setValue(static_cast<int>(done * kSteps / total));
}

void BackgroundTask::Finished(unsigned generation) {
  if (generation != generation_ || !Running()) return;
  worker_.join();
  Release();
  const Done done = std::exchange(finish_, nullptr);
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  if (done) done(cancelled_);
}

void BackgroundTask::Release() {
  delay_.stop();
  poll_.stop();
  bar_ = nullptr;
  delete dialog_.data();
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
}

}  // namespace theolink
