#pragma once
// TForm2, the settings dialog: its controls hold the current settings for the whole run;
// Confirm makes them persist in the configuration file, Reset brings back the defaults.
#include <QCheckBox>
#include <QWidget>
#include <functional>

#include "app/config_file.h"
#include "records/settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace theolink {

class CrsComboBox;
class Dialogs;

class TForm2 final : public QWidget {
 public:
  // Loads the settings from the file into settings and the controls.
  TForm2(const ConfigFile& config, Dialogs& dialogs, Settings& settings);

  void FormCreate();
  void ConfirmClick();
  void ResetClick();
  void GridScaleEditExit();
  void FormClose();

  double LastAcceptedGridScale() const { return lastAccepted_; }

  // A control changed a setting; the dialog was closed; Confirm wrote the file.
  std::function<void()> OnChanged;
  std::function<void()> OnClosed;
  std::function<void()> OnConfirmed;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Changed();

  const ConfigFile& config_;
  Dialogs& dialogs_;
  Settings& settings_;
  double lastAccepted_ = 1.0;
  bool loading_ = false;

  QLabel* angUnitLab_;
  QComboBox* angUnitCbb_;
  QLabel* distUnitLab_;
  QComboBox* distUnitCbb_;
  QLabel* twoDiffLab_;
  QComboBox* kOptionCbb_;
  QLabel* gridScaleLab_;
  QLineEdit* gridScaleEdit_;
  QLabel* coordOrderLab_;
  QComboBox* coordOrderCbb_;
  QCheckBox* computeShotsChk_;
  QLabel* crsLab_;
  CrsComboBox* crsCbb_;
  QPushButton* reset_;
  QPushButton* confirm_;
};

}  // namespace theolink
