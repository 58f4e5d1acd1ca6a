#pragma once
// Every message box, question and file dialog of the window goes through this interface,
// so tests answer them from a script and a window without a screen never blocks on one.
#include <QString>
#include <optional>
#include <string>

#include "app/save_plan.h"

class QPrinter;
class QWidget;

namespace theolink {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A plain notice with one OK button; returns when it is closed.
  virtual void ShowNotice(const QString& text, const QString& caption) = 0;
  // OK and Cancel, no icon; true only for OK (the close box counts as Cancel).
  virtual bool AskOkCancel(const QString& text, const QString& caption) = 0;
  // Yes and No, no icon; true only for Yes.
  virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
  // filter is "description|pattern;pattern|..." (the bilingual table's form); folder is
  // where the dialog starts. Nothing when cancelled.
  virtual std::optional<FileChoice> OpenFile(const std::string& filter, const QString& folder) = 0;
  // The same for saving; a name without suffix gets ".txt"; the dialog itself never asks
  // about replacing a file.
  virtual std::optional<FileChoice> SaveFile(const std::string& filter, const QString& folder) = 0;
  // The print dialog: true once the printer (or a PDF file) is chosen and set up in printer.
  // Without a print dialog of its own a window prints nothing.
  virtual bool ChoosePrinter(QPrinter& printer) {
    (void)printer;
    return false;
  }
};

// The toolkit's own boxes and dialogs, centred on parent.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowNotice(const QString& text, const QString& caption) override;
  bool AskOkCancel(const QString& text, const QString& caption) override;
  bool AskYesNo(const QString& text, const QString& caption) override;
  std::optional<FileChoice> OpenFile(const std::string& filter, const QString& folder) override;
  std::optional<FileChoice> SaveFile(const std::string& filter, const QString& folder) override;
  bool ChoosePrinter(QPrinter& printer) override;

 private:
  QWidget* parent_;
};

// For a window started without a screen: notices go to the error stream, questions
// answer Cancel, file dialogs are cancelled.
class ConsoleDialogs final : public Dialogs {
 public:
  void ShowNotice(const QString& text, const QString& caption) override;
  bool AskOkCancel(const QString& text, const QString& caption) override;
  bool AskYesNo(const QString& text, const QString& caption) override;
  std::optional<FileChoice> OpenFile(const std::string&, const QString&) override { return std::nullopt; }
  std::optional<FileChoice> SaveFile(const std::string&, const QString&) override { return std::nullopt; }
};

// The toolkit's filter list for a filter text: "description (*.a *.b)" per entry.
QStringList QtNameFilters(const std::string& filter);

}  // namespace theolink
