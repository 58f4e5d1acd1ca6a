#include "window/theolink_application.h"

#include <QMessageBox>
#include <exception>

namespace theolink {

TheolinkApplication::TheolinkApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Theolink II"));
  ShowError = [](const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("Theolink II"), text);
  };
}

bool TheolinkApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ShowError(QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace theolink
