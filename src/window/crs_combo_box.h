#pragma once
// The coordinate system field of the settings dialog: a list of PROJ's projected systems
// ("EPSG:4547 CGCS2000 / ...") that typing filters by any part of the code or name. The list
// is read on a thread of its own, so the dialog opens at once; until then it holds the
// current choice only.
#include <QComboBox>
#include <string>
#include <thread>

namespace theolink {

class CrsComboBox final : public QComboBox {
 public:
  explicit CrsComboBox(QWidget* parent);
  ~CrsComboBox() override;
  CrsComboBox(const CrsComboBox&) = delete;
  CrsComboBox& operator=(const CrsComboBox&) = delete;

  // "EPSG:NNNN", or empty for none.
  std::string Crs() const;
  // Selects the system (added to the list when PROJ's list lacks it), or none for "".
  void SetCrs(const std::string& crs);

 private:
  int IndexOf(const std::string& crs) const;
  void ShowChoice();
  std::thread loader_;
};

}  // namespace theolink
