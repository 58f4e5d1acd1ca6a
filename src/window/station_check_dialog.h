#pragma once
// The station check of the job as a list to read beside the window: per station its
// orientation, backsight distance, residuals, face differences and warnings.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace theolink {

class StationCheckDialog final : public QDialog {
 public:
  // lines makes the report of the data as it is now (UTF-8, one item a line).
  explicit StationCheckDialog(std::function<std::vector<std::string>()> lines, QWidget* parent = nullptr);

  // Shows the report of the data as it is now.
  void ShowReport();
  // The data or the language changed: a shown report is made again.
  void DataChanged();
  QString Report() const;

 private:
  void Fill();

  std::function<std::vector<std::string>()> lines_;
  QPlainTextEdit* list_ = nullptr;
};

}  // namespace theolink
