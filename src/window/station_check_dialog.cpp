#include "window/station_check_dialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <utility>

#include "app/text_table.h"
#include "window/display_text.h"

namespace theolink {

StationCheckDialog::StationCheckDialog(std::function<std::vector<std::string>()> lines, QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)) {
  setObjectName(QStringLiteral("StationCheckDialog"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QPlainTextEdit(this);
  list_->setObjectName(QStringLiteral("StationCheckList"));
  list_->setReadOnly(true);
  // Columns of numbers line up only in a fixed-width font.
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(list_);
  resize(820, 420);
}

void StationCheckDialog::ShowReport() {
  Fill();
  show();
  raise();
  activateWindow();
}

void StationCheckDialog::DataChanged() {
  if (isVisible()) Fill();
}

QString StationCheckDialog::Report() const { return list_->toPlainText(); }

void StationCheckDialog::Fill() {
  const QString title = UiText(PickText(TextId::StationCheckBtn));
  setWindowTitle(title);
  list_->setAccessibleName(title);
  QStringList text;
  for (const std::string& line : lines_()) text << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  list_->setPlainText(text.join(QLatin1Char('\n')));
}

}  // namespace theolink
