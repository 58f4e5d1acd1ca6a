#pragma once
// The port's event thread hands its work to the window's thread through the Qt event
// queue: a posted task runs on the thread that owns this object.
#include <QObject>
#include <exception>
#include <functional>

#include "serial/ui_dispatcher.h"

namespace theolink {

class QtDispatcher final : public QObject, public UiDispatcher {
 public:
  using ErrorSink = std::function<void(std::exception_ptr)>;

  explicit QtDispatcher(ErrorSink onError, QObject* parent = nullptr);

  void Post(std::function<void()> task) override;
  bool IsOwningThread() const override;
  // Runs on the owning thread; the error sink shows it.
  void ReportError(std::exception_ptr error) override;

 private:
  ErrorSink onError_;
};

}  // namespace theolink
