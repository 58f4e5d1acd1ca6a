#include "window/crs_combo_box.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>
#include <memory>
#include <set>
#include <vector>

#include "app/text_table.h"
#include "files/geo_transform.h"
#include "window/display_text.h"

namespace theolink {

CrsComboBox::CrsComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(16);
  addItem(UiText(PickText(TextId::CoordSystemNone)), QString());
  auto* finder = new QCompleter(model(), this);
  finder->setCompletionColumn(0);
  finder->setFilterMode(Qt::MatchContains);
  finder->setCaseSensitivity(Qt::CaseInsensitive);
  finder->setCompletionMode(QCompleter::PopupCompletion);
  setCompleter(finder);
  finder->popup()->setMinimumWidth(440);  // whole names, wider than the field
  connect(finder, qOverload<const QString&>(&QCompleter::activated), this, &CrsComboBox::ShowChoice,
          Qt::QueuedConnection);
  // No system shows as an empty field, so typing starts a search at once. Typed text that
  // names no system gives way to the choice when the field is left.
  lineEdit()->setPlaceholderText(itemText(0));
  connect(lineEdit(), &QLineEdit::editingFinished, this, &CrsComboBox::ShowChoice);
  connect(this, &QComboBox::currentIndexChanged, this, &CrsComboBox::ShowChoice);
  loader_ = std::thread([this] {
    auto systems = std::make_shared<std::vector<ProjectedSystem>>(ProjectedSystems());
    QMetaObject::invokeMethod(
        this,
        [this, systems] {
          // The few systems already here (known by code) get their names; the rest are added.
          std::set<std::string> present;
          for (int i = 1; i < count(); ++i) present.insert(itemData(i).toString().toStdString());
          const QSignalBlocker quiet(this);
          for (const ProjectedSystem& s : *systems) {
            const QString text = QString::fromStdString(s.Code + ' ' + s.Name);
            if (present.count(s.Code) != 0) {
              setItemText(IndexOf(s.Code), text);
            } else {
              addItem(text, QString::fromStdString(s.Code));
            }
          }
          if (!lineEdit()->hasFocus()) ShowChoice();
        },
        Qt::QueuedConnection);
  });
}

CrsComboBox::~CrsComboBox() { loader_.join(); }

void CrsComboBox::ShowChoice() {
  setEditText(currentIndex() <= 0 ? QString() : itemText(currentIndex()));
  lineEdit()->setCursorPosition(0);  // the code first
}

std::string CrsComboBox::Crs() const { return currentData().toString().toStdString(); }

int CrsComboBox::IndexOf(const std::string& crs) const { return findData(QString::fromStdString(crs)); }

void CrsComboBox::SetCrs(const std::string& crs) {
  int index = crs.empty() ? 0 : IndexOf(crs);
  if (index < 0) {
    // Known by its code alone until the list comes (or when PROJ's list lacks it).
    insertItem(1, QString::fromStdString(crs), QString::fromStdString(crs));
    index = 1;
  }
  setCurrentIndex(index);
  ShowChoice();
}

}  // namespace theolink
