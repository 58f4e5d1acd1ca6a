#pragma once
// A long open or save on a thread of its own, so the window goes on painting. While it runs
// the window takes no input (the data the work reads stays as it is); after a short delay a
// progress dialog with Cancel shows. When the work has ended, the caller's result step runs
// on the window's thread from the event loop, never inside another widget's event.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

#include "files/task_progress.h"

class QDialog;
class QProgressBar;
class QWidget;

namespace theolink {

class BackgroundTask final : public QObject, private TaskProgress {
 public:
  using Work = std::function<void(TaskProgress& progress)>;
  // cancelled: Cancel stopped the work, whose result is to be dropped.
  using Done = std::function<void(bool cancelled)>;

  explicit BackgroundTask(QWidget& window);
  ~BackgroundTask() override;
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Runs work on a thread of its own; label names it in the progress dialog. done follows
  // once it has ended; an exception other than a cancel is thrown from there instead. False
  // (nothing started) while another task runs.
  bool Start(const QString& label, Work work, Done done);
  bool Running() const { return worker_.joinable(); }
  // The work stops at its next report; done still follows.
  void Cancel();
  // The work stops and is waited for; done does not follow.
  void Abandon();

  // How long a task runs before its dialog shows.
  static constexpr int kDialogDelayMs = 300;
  // Called on the working thread with each report, before the cancel is looked at; a test
  // holds the work there. Set while no task runs.
  std::function<void(std::uint64_t done, std::uint64_t total)> OnReport;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Report(std::uint64_t done, std::uint64_t total) override;
  void Check() override;
  void ShowDialog();
  void ShowProgress();
  void Finished(unsigned generation);
  // Gives the window its input back and takes the dialog down.
  void Release();

  QWidget& window_;
  std::thread worker_;
  unsigned generation_ = 0;  // which task a finish belongs to
  std::atomic<bool> cancel_{false};
  std::atomic<std::uint64_t> done_{0}, total_{0};
  // Written by the worker before it ends, read after it has been joined.
  bool cancelled_ = false;
  std::exception_ptr failure_;
  Done finish_;
  QString label_;
  QTimer delay_, poll_;
  QPointer<QDialog> dialog_;
  QProgressBar* bar_ = nullptr;
};

}  // namespace theolink
