#pragma once
// TComComboBox: a drop-down list bound to a port that fills itself from the ports present
// or the baud-rate texts and applies the user's pick to the port. The port list is read
// again each time the list is opened (adapters are plugged in after the start), keeping
// the selected port by name. A port box also takes a typed device path (/dev/pts/4,
// /dev/serial/by-id/...), which no listing offers.
#include <QComboBox>

#include "serial/com_select.h"

namespace theolink {

class TComComboBox final : public QComboBox {
 public:
  explicit TComComboBox(TComSelect::PortLister lister, QWidget* parent = nullptr);

  void SetComPort(TCustomComPort* port);
  void SetComProperty(TComProperty property);
  void SetAutoApply(bool on) { select_.SetAutoApply(on); }
  // Selects the port's current value (no selection when absent).
  void UpdateSettings();
  TComSelect& Select() { return select_; }
  // A port box: shows name (selected when listed) and applies it as if the user chose it.
  void ChoosePort(const QString& name);

  void showPopup() override;

 private:
  void FillItems();
  // The user picked an item: store it and apply it to the port.
  void Change(int index);
  // The user finished typing a port name.
  void TypedPort();
  void Apply(const QString& text);

  TComSelect select_;
};

}  // namespace theolink
