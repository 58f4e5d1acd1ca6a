#pragma once
// The application object: an error that escapes an event handler is shown in a message
// box and the program goes on (Qt would otherwise end the process).
#include <QApplication>
#include <functional>

namespace theolink {

class TheolinkApplication final : public QApplication {
 public:
  TheolinkApplication(int& argc, char** argv);

  // How an escaped error is shown; a plain message box unless replaced (tests).
  std::function<void(const QString& text)> ShowError;

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace theolink
