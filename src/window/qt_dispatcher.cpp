#include "window/qt_dispatcher.h"

#include <QThread>
#include <utility>

namespace theolink {

QtDispatcher::QtDispatcher(ErrorSink onError, QObject* parent) : QObject(parent), onError_(std::move(onError)) {}

void QtDispatcher::Post(std::function<void()> task) {
  // A task that raises must not reach the event loop: it is reported instead.
  QMetaObject::invokeMethod(
      this,
      [this, task = std::move(task)] {
        try {
          task();
        } catch (...) {
          ReportError(std::current_exception());
        }
      },
      Qt::QueuedConnection);
}

bool QtDispatcher::IsOwningThread() const { return QThread::currentThread() == thread(); }

void QtDispatcher::ReportError(std::exception_ptr error) {
  if (onError_) onError_(error);
}

}  // namespace theolink
