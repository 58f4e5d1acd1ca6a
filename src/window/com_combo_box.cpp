#include "window/com_combo_box.h"

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

void TComComboBox::showPopup() {
  if (select_.ComProperty() == cpPort) {
    const QString selected = currentText();
    select_.SetComProperty(cpPort);
    FillItems();
    const QSignalBlocker blocker(this);
    setCurrentIndex(selected.isEmpty() ? -1 : findText(selected));
  }
  QComboBox::showPopup();
}

void TComComboBox::Change(int index) {
  const std::string text = index < 0 ? std::string() : itemText(index).toLocal8Bit().toStdString();
  select_.Change(text);
}

}  // namespace theolink
