#include "window/com_combo_box.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

#include "window/display_text.h"

namespace theolink {

TComComboBox::TComComboBox(TComSelect::PortLister lister, QWidget* parent)
    : QComboBox(parent), select_(std::move(lister)) {
  setEditable(false);
  connect(this, &QComboBox::activated, this, &TComComboBox::Change);
}

void TComComboBox::FillItems() {
  const QSignalBlocker blocker(this);
  clear();
  for (const std::string& item : select_.Items()) addItem(QString::fromLocal8Bit(item.c_str()));
}

void TComComboBox::SetComPort(TCustomComPort* port) {
  if (select_.ComPort() == port) return;
  select_.SetComPort(port);
  if (port != nullptr) UpdateSettings();
}

void TComComboBox::SetComProperty(TComProperty property) {
  select_.SetComProperty(property);
  if (property == cpPort && !isEditable()) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setAccessibleName(accessibleName());
    connect(lineEdit(), &QLineEdit::editingFinished, this, &TComComboBox::TypedPort);
  }
  FillItems();
  if (count() == 0) return;
  const QSignalBlocker blocker(this);
  if (select_.ComPort() == nullptr) setCurrentIndex(0);
  else setCurrentIndex(select_.UpdateSettings());
}

void TComComboBox::UpdateSettings() {
  if (select_.ComPort() == nullptr) return;
  const QSignalBlocker blocker(this);
  setCurrentIndex(select_.UpdateSettings());
}

void TComComboBox::ChoosePort(const QString& name) {
  {
    const QSignalBlocker blocker(this);
    const int index = findText(name);
    setCurrentIndex(index);
    if (index < 0 && isEditable()) setEditText(name);
  }
  Apply(name);
}

void TComComboBox::showPopup() {
  if (select_.ComProperty() == cpPort) {
    const QString shown = currentText();
    select_.SetComProperty(cpPort);
    FillItems();
    const QSignalBlocker blocker(this);
    const int index = shown.isEmpty() ? -1 : findText(shown);
    setCurrentIndex(index);
    if (index < 0) setEditText(shown);
  }
  QComboBox::showPopup();
}

void TComComboBox::Change(int index) { Apply(index < 0 ? QString() : itemText(index)); }

void TComComboBox::TypedPort() {
  const QString typed = lineEdit()->text().trimmed();
  if (typed.toLocal8Bit().toStdString() == select_.SelectedPort()) return;
  Apply(typed);
}

void TComComboBox::Apply(const QString& text) { select_.Change(text.toLocal8Bit().toStdString()); }

}  // namespace theolink
