#include "window/window_program.h"

#include <QDir>
#include <QStandardPaths>
#include <cstdlib>

#include "serial/com_enum.h"
#include "serial/raw_receive_copy.h"

namespace theolink {

WindowContext ShippedWindowContext(Dialogs* dialogs) {
  WindowContext context;
  context.executablePath = RunningExecutablePath();
  context.environment = ConfigEnvironment::FromProcess();
  context.locale = LocaleNames::FromProcess();
  context.dialogs = dialogs;
  context.portLister = EnumComPorts;
  context.rawCopyFolder = DefaultRawCopyFolder();
  return context;
}

std::string NoDisplayPicturePath() {
  // A fixed name in /tmp could be a link another user planted.
  QString folder = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
  if (folder.isEmpty() || !QDir(folder).exists())
    folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/theolink");
  QDir().mkpath(folder);
  return (folder + QStringLiteral("/theolink-window.png")).toLocal8Bit().toStdString();
}

}  // namespace theolink
