#include "window/qt_transfer_timer.h"

namespace theolink {

QtTransferTimer::QtTransferTimer(std::function<void()> onTimeout, QObject* parent) : QObject(parent) {
  timer1_.setObjectName(QStringLiteral("Timer1"));
  timer1_.setInterval(500);
  QObject::connect(&timer1_, &QTimer::timeout, this, std::move(onTimeout));
}

}  // namespace theolink
