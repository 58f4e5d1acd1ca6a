#include "window/settings_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <string>
#include <vector>

#include "app/grid_scale_entry.h"
#include "app/language.h"
#include "app/settings_store.h"
#include "app/text_table.h"
#include "window/crs_combo_box.h"
#include "window/dialogs.h"
#include "window/display_text.h"

namespace theolink {
namespace {

QString T(TextId id) { return UiText(PickText(id)); }

QLabel* MakeLabel(QWidget* parent, const char* name, TextId id, int x, int y) {
  auto* label = new QLabel(T(id), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAccessibleName(label->text());
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(x, y, 80, 24);
  return label;
}

QComboBox* MakeList(QWidget* parent, const char* name, QLabel* label, int x, int y) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(label->text());
  // A screen reader names a list by its label, not by the value it shows.
  label->setBuddy(box);
  box->setEditable(false);
  box->setGeometry(x, y, 110, 24);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, TextId id, int x, int y) {
  auto* button = new QPushButton(T(id), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(button->text());
  button->setCursor(Qt::PointingHandCursor);
  button->setGeometry(x, y, 75, 40);
  return button;
}

}  // namespace

TForm2::TForm2(const ConfigFile& config, Dialogs& dialogs, Settings& settings)
    : QWidget(nullptr, Qt::Dialog), config_(config), dialogs_(dialogs), settings_(settings) {
  setObjectName(QStringLiteral("Form2"));
  setFixedSize(446, 280);
  angUnitLab_ = MakeLabel(this, "AngUnitLAB", TextId::AngUnitLabel, 10, 24);
  angUnitCbb_ = MakeList(this, "AngUnitCBB", angUnitLab_, 98, 24);
  distUnitLab_ = MakeLabel(this, "DistUnitLAB", TextId::DistUnitLabel, 214, 24);
  distUnitCbb_ = MakeList(this, "DistUnitCBB", distUnitLab_, 302, 24);
  twoDiffLab_ = MakeLabel(this, "TwoDiffLAB", TextId::KOptionLabel, 10, 70);
  kOptionCbb_ = MakeList(this, "KOptionCBB", twoDiffLab_, 98, 70);
  gridScaleLab_ = MakeLabel(this, "GridScaleLAB", TextId::GridScaleLabel, 214, 70);
  gridScaleEdit_ = new QLineEdit(this);
  gridScaleEdit_->setObjectName(QStringLiteral("GridScaleEdit"));
  gridScaleEdit_->setAccessibleName(gridScaleLab_->text());
  gridScaleLab_->setBuddy(gridScaleEdit_);
  gridScaleEdit_->setGeometry(302, 70, 97, 24);
  coordOrderLab_ = MakeLabel(this, "CoordOrderLAB", TextId::CoordOrderLabel, 10, 116);
  coordOrderCbb_ = MakeList(this, "CoordOrderCBB", coordOrderLab_, 98, 116);
  computeShotsChk_ = new QCheckBox(T(TextId::ComputeShotsCheck), this);
  computeShotsChk_->setObjectName(QStringLiteral("ComputeShotsCHK"));
  computeShotsChk_->setAccessibleName(computeShotsChk_->text());
  computeShotsChk_->setGeometry(230, 116, 200, 24);
  crsLab_ = MakeLabel(this, "CoordSystemLAB", TextId::CoordSystemLabel, 10, 162);
  crsLab_->setGeometry(0, 162, 92, 24);  // the longest caption
  crsCbb_ = new CrsComboBox(this);
  crsCbb_->setObjectName(QStringLiteral("CoordSystemCBB"));
  crsCbb_->setAccessibleName(crsLab_->text());
  crsCbb_->lineEdit()->setObjectName(QStringLiteral("CoordSystemEdit"));  // where the search is typed
  crsCbb_->lineEdit()->setAccessibleName(crsLab_->text());
  crsLab_->setBuddy(crsCbb_);
  crsCbb_->setGeometry(98, 162, 301, 24);
  reset_ = MakeButton(this, "Reset", TextId::ResetBtn, 120, 210);
  confirm_ = MakeButton(this, "Confirm", TextId::ConfirmBtn, 250, 210);

  for (const char* k : {"0.00", "0.14", "0.20"}) kOptionCbb_->addItem(QString::fromLatin1(k));
  coordOrderCbb_->addItems({QStringLiteral("NEZ"), QStringLiteral("ENZ")});
  gridScaleEdit_->installEventFilter(this);

  for (QComboBox* box : {angUnitCbb_, distUnitCbb_, kOptionCbb_, coordOrderCbb_, static_cast<QComboBox*>(crsCbb_)})
    connect(box, &QComboBox::currentIndexChanged, this, &TForm2::Changed);
  connect(computeShotsChk_, &QCheckBox::toggled, this, &TForm2::Changed);
  connect(reset_, &QPushButton::clicked, this, &TForm2::ResetClick);
  connect(confirm_, &QPushButton::clicked, this, &TForm2::ConfirmClick);
  FormCreate();
}

void TForm2::FormCreate() {
  const IniFile ini = config_.Read();
  settings_ = LoadSettings(ini);
  setWindowTitle(T(TextId::SettingBtn));
  loading_ = true;
  std::vector<std::string> names;
  FillUnitNames(UnitKind::Angle, CurrentLanguage(), names);
  angUnitCbb_->clear();
  for (const std::string& n : names) angUnitCbb_->addItem(UiText(n));
  names.clear();
  FillUnitNames(UnitKind::Distance, CurrentLanguage(), names);
  distUnitCbb_->clear();
  for (const std::string& n : names) distUnitCbb_->addItem(UiText(n));
  angUnitCbb_->setCurrentIndex(settings_.AngleUnit);
  distUnitCbb_->setCurrentIndex(settings_.DistanceUnit);
  kOptionCbb_->setCurrentIndex(KOptionIndex(settings_.KOption));
  coordOrderCbb_->setCurrentIndex(settings_.CoordOrder);
  computeShotsChk_->setChecked(settings_.ComputeShots);
  crsCbb_->SetCrs(settings_.Crs);
  gridScaleEdit_->setText(QString::fromStdString(settings_.GridScale));
  lastAccepted_ = GridScaleValue(settings_);
  loading_ = false;
  // The file's value used to be rounded without a word; now it is refused, and said so.
  if (const auto refused = RefusedGridScale(ini))
    dialogs_.ShowNotice(UiText(FillText(PickText(TextId::GridScaleFileRefused), {*refused})),
                        QStringLiteral("Theolink II"));
}

void TForm2::Changed() {
  if (loading_) return;
  settings_.AngleUnit = angUnitCbb_->currentIndex();
  settings_.DistanceUnit = distUnitCbb_->currentIndex();
  settings_.KOption = std::string(KOptionText(kOptionCbb_->currentIndex()));
  settings_.CoordOrder = coordOrderCbb_->currentIndex();
  settings_.ComputeShots = computeShotsChk_->isChecked();
  settings_.Crs = crsCbb_->Crs();
  if (OnChanged) OnChanged();
}

void TForm2::GridScaleEditExit() {
  const GridScaleEntry entry = CheckGridScale(gridScaleEdit_->text().toStdString(), lastAccepted_);
  gridScaleEdit_->setText(QString::fromStdString(entry.text));
  lastAccepted_ = entry.value;
  const bool changed = settings_.GridScale != entry.text;
  settings_.GridScale = entry.text;
  if (changed && OnChanged) OnChanged();
  // This runs while the edit loses the focus; the box waits until that has happened.
  if (!entry.accepted)
    QMetaObject::invokeMethod(
        this, [this, refusal = entry.refusal] { dialogs_.ShowNotice(T(refusal), QStringLiteral("Theolink II")); },
        Qt::QueuedConnection);
}

void TForm2::ResetClick() {
  loading_ = true;
  for (QComboBox* box : {angUnitCbb_, distUnitCbb_, kOptionCbb_, coordOrderCbb_}) box->setCurrentIndex(0);
  computeShotsChk_->setChecked(false);
  crsCbb_->SetCrs({});
  gridScaleEdit_->setText(QStringLiteral("1.00"));
  loading_ = false;
  settings_.GridScale = "1.00";
  Changed();
}

void TForm2::ConfirmClick() {
  // A refused grid scale stops Confirm before anything is written, so the section is
  // never half written.
  const GridScaleEntry entry = CheckGridScale(gridScaleEdit_->text().toStdString(), lastAccepted_);
  if (!entry.accepted) {
    gridScaleEdit_->setText(QString::fromStdString(entry.text));
    dialogs_.ShowNotice(T(entry.refusal), QStringLiteral("Theolink II"));
    return;
  }
  gridScaleEdit_->setText(QString::fromStdString(entry.text));
  lastAccepted_ = entry.value;
  settings_.GridScale = entry.text;
  const bool written = ConfirmSettings(config_, settings_);
  close();
  if (OnConfirmed) OnConfirmed();
  if (!written) dialogs_.ShowNotice(T(TextId::WriteFailed), QStringLiteral("Theolink II"));
}

void TForm2::FormClose() {
  if (OnClosed) OnClosed();
}

void TForm2::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == gridScaleEdit_ && event->type() == QEvent::FocusOut) GridScaleEditExit();
  return QWidget::eventFilter(watched, event);
}

}  // namespace theolink
