#include "window/dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextStream>
#include <cstdio>

#include "app/save_plan.h"
#include "window/display_text.h"

namespace theolink {
namespace {

// A box sizes itself by its text alone, so a short text under a longer title had the title
// cut in the title bar: the box is made wide enough for it.
void FitTitle(QMessageBox& box) {
  auto* layout = qobject_cast<QGridLayout*>(box.layout());
  if (layout == nullptr) return;
  // The title bar's buttons and margins take about this much beside the title.
  const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 140;
  layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), layout->rowCount(), 0, 1,
                  layout->columnCount());
}

int AskTwo(QWidget* parent, const QString& text, const QString& caption, QMessageBox::StandardButton yes,
           QMessageBox::StandardButton no) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, yes | no, parent);
  box.setEscapeButton(no);
  FitTitle(box);
  return box.exec();
}

std::optional<FileChoice> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const std::string& filter,
                                        const QString& folder) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The window asks its own replace question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(QStringLiteral("txt"));
  const QStringList filters = QtNameFilters(filter);
  dialog.setNameFilters(filters);
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  if (mode == QFileDialog::AcceptSave) {
    // A bare name gets the chosen filter's own ending when it names exactly one
    // (the GTS-7 writers take only ".gt7" files), else "txt".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
      const qsizetype open = chosen.lastIndexOf(QLatin1Char('('));
      const QString patterns = chosen.mid(open + 1).chopped(1);
      const bool single = patterns.startsWith(QStringLiteral("*.")) && patterns.count(QLatin1Char('*')) == 1 &&
                          !patterns.contains(QLatin1Char(' '));
      dialog.setDefaultSuffix(single ? patterns.mid(2) : QStringLiteral("txt"));
    });
    if (!filters.isEmpty()) emit dialog.filterSelected(filters.first());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  FileChoice choice;
  choice.path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
  const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
  choice.filterIndex = index < 0 ? 1 : static_cast<int>(index) + 1;
  return choice;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  QStringList list;
  for (const FilterEntry& entry : SplitFilter(filter)) {
    QString patterns;
    std::string joined;
    for (const std::string& p : entry.patterns) {
      if (!patterns.isEmpty()) patterns += QLatin1Char(' ');
      patterns += UiText(p);
      if (!joined.empty()) joined += ';';
      joined += p;
    }
    QString description = UiText(entry.description);
    // The table's descriptions end in "(*.a;*.b)"; the toolkit wants the patterns there
    // separated by blanks.
    const QString tableSuffix = QLatin1Char('(') + UiText(joined) + QLatin1Char(')');
    if (description.endsWith(tableSuffix)) {
      description.chop(tableSuffix.size());
      list << description + QLatin1Char('(') + patterns + QLatin1Char(')');
    } else {
      list << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return list;
}

void QtDialogs::ShowNotice(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
  FitTitle(box);
  box.exec();
}

bool QtDialogs::AskOkCancel(const QString& text, const QString& caption) {
  return AskTwo(parent_, text, caption, QMessageBox::Ok, QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtDialogs::AskYesNo(const QString& text, const QString& caption) {
  return AskTwo(parent_, text, caption, QMessageBox::Yes, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<FileChoice> QtDialogs::OpenFile(const std::string& filter, const QString& folder) {
  return RunFileDialog(parent_, QFileDialog::AcceptOpen, filter, folder);
}

std::optional<FileChoice> QtDialogs::SaveFile(const std::string& filter, const QString& folder) {
  return RunFileDialog(parent_, QFileDialog::AcceptSave, filter, folder);
}

bool QtDialogs::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  return dialog.exec() == QDialog::Accepted;
}

void ConsoleDialogs::ShowNotice(const QString& text, const QString& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
}

bool ConsoleDialogs::AskOkCancel(const QString& text, const QString& caption) {
  ShowNotice(text + QStringLiteral(" (answered Cancel)"), caption);
  return false;
}

bool ConsoleDialogs::AskYesNo(const QString& text, const QString& caption) {
  ShowNotice(text + QStringLiteral(" (answered No)"), caption);
  return false;
}

}  // namespace theolink
