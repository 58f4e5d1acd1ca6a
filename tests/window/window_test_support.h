#pragma once
// A main window in a private folder (its INI and HELP.txt beside a pretend executable),
// with the dialogs answered from a script and a fixed port list.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/language.h"
#include "window/dialogs.h"
#include "window/main_form.h"

namespace theolink::test {

class ScriptedDialogs final : public Dialogs {
 public:
  std::vector<QString> notices;    // every notice shown, in order
  std::vector<QString> questions;  // every question asked, in order
  std::deque<bool> answers;        // OK/Yes answers for the questions to come
  std::deque<std::optional<FileChoice>> files;  // answers of the file dialogs
  std::vector<std::string> filters;             // the filter each file dialog got
  std::vector<QString> folders;                 // the folder each file dialog started in

  void ShowNotice(const QString& text, const QString&) override { notices.push_back(text); }
  bool AskOkCancel(const QString& text, const QString&) override { return Answer(text); }
  bool AskYesNo(const QString& text, const QString&) override { return Answer(text); }
  std::optional<FileChoice> OpenFile(const std::string& filter, const QString& folder) override {
    folders.push_back(folder);
    return File(filter);
  }
  std::optional<FileChoice> SaveFile(const std::string& filter, const QString& folder) override {
    folders.push_back(folder);
    return File(filter);
  }
  // The print dialog prints to this PDF file; empty: an unexpected dialog, cancelled.
  std::string printToPdf;
  bool ChoosePrinter(QPrinter& printer) override {
    if (printToPdf.empty()) {
      ADD_FAILURE() << "unexpected print dialog";
      return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(std::exchange(printToPdf, std::string()).c_str()));
    return true;
  }

 private:
  bool Answer(const QString& text) {
    questions.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return false;
    }
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<FileChoice> File(const std::string& filter) {
    filters.push_back(filter);
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return std::nullopt;
    }
    auto f = files.front();
    files.pop_front();
    return f;
  }
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// GBK help text: Chinese section, separator, English section.
inline const std::string kHelp = "\xD6\xD0\xCE\xC4\xB0\xEF\xD6\xFA\r\n========\r\nEnglish help\r\nline two\r\n";

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "theolink-window-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
    // A build folder's layout, so the settings file is the one beside the program.
    std::filesystem::create_directory(dir_ + "/bin");
    WriteBytes(File("CMakeCache.txt"), "");
  }
  ~WindowFixture() override {
    form_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string File(const std::string& name) const { return dir_ + "/" + name; }
  std::string Ini() const { return File("bin/theolink.INI"); }
  void WriteIni(const std::string& text) { WriteBytes(Ini(), text); }
  void WriteHelp(const std::string& text = kHelp) { WriteBytes(File("bin/HELP.txt"), text); }

  // Creates the window (FormCreate and the settings dialog run).
  TForm1& Start(std::vector<std::string> ports = {"/dev/ttyFAKE0", "/dev/ttyFAKE1"}) {
    WindowContext context;
    context.executablePath = File("bin/theolink");
    context.environment.home = dir_;
    context.locale.lang = "C";
    context.dialogs = realDialogs_ != nullptr ? realDialogs_ : &dialogs_;
    context.rawCopyFolder = File("received");
    *ports_ = std::move(ports);
    context.portLister = [list = ports_](std::vector<std::string>& out) { out = *list; };
    form_ = std::make_unique<TForm1>(std::move(context));
    return *form_;
  }

  template <typename T = QPushButton>
  T* Control(const char* name) {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) ADD_FAILURE() << "no control " << name;
    return w;
  }
  void Click(const char* name) {
    QPushButton* b = Control(name);
    ASSERT_TRUE(b->isEnabled()) << name << " is disabled";
    QTest::mouseClick(b, Qt::LeftButton);
    WaitForFileWork();
  }
  // Open and Save run on a thread of their own: waits until the one started has ended and
  // its result is in the window.
  void WaitForFileWork() { QTRY_VERIFY_WITH_TIMEOUT(!form_->Tasks().Running(), 60000); }
  // Answers the next open or save dialog with path and filter index.
  void ChooseFile(const std::string& path, int filterIndex = 1) { dialogs_.files.push_back(FileChoice{path, filterIndex}); }
  void OpenFile(const std::string& path) {
    ChooseFile(path);
    Click("OpenBtn");
  }

  QTableView* Grid() { return Control<QTableView>("StrGrid"); }
  // The open cell editor of the grid (none when no cell is being edited).
  QWidget* CellEditor() { return Grid()->indexWidget(Grid()->currentIndex()); }
  // Makes cell (row from 1, column) current and types text with the keyboard: the first
  // key opens the editor, the others go to it.
  void TypeIntoCell(int row, int column, const QString& text) {
    QTableView* grid = Grid();
    grid->setCurrentIndex(grid->model()->index(row - 1, column));
    for (qsizetype i = 0; i < text.size(); ++i) {
      QWidget* target = CellEditor() != nullptr ? CellEditor() : (i == 0 ? static_cast<QWidget*>(grid) : nullptr);
      ASSERT_NE(target, nullptr) << "no editor open at key " << i;
      const QChar ch = text[i];
      const Qt::Key key = ch.unicode() < 128 ? static_cast<Qt::Key>(QChar(ch).toUpper().unicode()) : Qt::Key_unknown;
      QTest::sendKeyEvent(QTest::Click, target, key, QString(ch), Qt::NoModifier);
      // The event loop runs between a person's keystrokes; boxes a key raises show then.
      QCoreApplication::processEvents();
    }
  }
  // Types a whole row's cells from column 1 on, Tab between them, Enter at the end.
  void TypeRow(int row, const std::vector<QString>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (cells[c].isEmpty()) continue;
      TypeIntoCell(row, static_cast<int>(c) + 1, cells[c]);
      QTest::keyClick(CellEditor(), Qt::Key_Return);
    }
  }
  // The two points the typed-list tests enter, then Return.
  void TypeTwoPointsAndReturn() {
    TypeRow(1, {QStringLiteral("BM1"), QStringLiteral("4512.345"), QStringLiteral("-1023.5"), QStringLiteral("12.25"),
                QStringLiteral("CTRL")});
    Click("AppendBtn");
    TypeRow(2, {QStringLiteral("ABCDEFGH"), QStringLiteral("-99999999.9999"), QStringLiteral("0.0001"),
                QStringLiteral("-3")});
    Click("OKBtn");
  }
  QString GridText(int row, int column) {
    return Grid()->model()->index(row - 1, column).data().toString();
  }

  std::string dir_;
  // The ports present; a test may change them while the window runs.
  std::shared_ptr<std::vector<std::string>> ports_ = std::make_shared<std::vector<std::string>>();
  ScriptedDialogs dialogs_;
  // Set before Start: the toolkit's own boxes instead of the script.
  Dialogs* realDialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

}  // namespace theolink::test
