#pragma once
// Timer1 of the main window: a Qt timer on the window's thread serving as the transfer's
// end-of-transfer timer.
#include <QObject>
#include <QTimer>
#include <functional>

#include "serial/transfer_timer.h"

namespace theolink {

class QtTransferTimer final : public QObject, public TransferTimer {
 public:
  // onTimeout runs on the window's thread each time the timer fires.
  explicit QtTransferTimer(std::function<void()> onTimeout, QObject* parent = nullptr);

  void Start(int interval_ms) override { timer1_.start(interval_ms); }
  void Stop() override { timer1_.stop(); }
  bool Active() const { return timer1_.isActive(); }

 private:
  QTimer timer1_;
};

}  // namespace theolink
