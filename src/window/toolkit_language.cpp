#include "window/toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/language.h"

namespace theolink {

void UseToolkitLanguage(int language) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  // The translator belongs to the application object, found again by its name.
  const QString name = QStringLiteral("TheolinkToolkitTranslator");
  if (auto* old = app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
    QCoreApplication::removeTranslator(old);
    delete old;
  }
  if (language != kLanguageChinese) return;
  auto* translator = new QTranslator(app);
  translator->setObjectName(name);
  if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace theolink
