// theolink: the window program. "theolink [FILE]" opens FILE after the start's help text.
// "--screenshot PNG" (also chosen by itself when there is no display) starts the window
// on the off-screen platform, saves a picture of it, prints the picture's path and ends.
// "--plan FILE" opens FILE with the plan shown; with --screenshot the picture is the plan's.
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "theolink_version.h"
#include "window/dialogs.h"
#include "window/main_form.h"
#include "window/plan_export.h"
#include "window/plan_panel.h"
#include "window/theolink_application.h"
#include "window/window_program.h"

namespace {

bool HasDisplay() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

void PrintUsage() {
  std::printf(
      "Usage: theolink [FILE]\n"
      "       theolink --screenshot PNG [--edit] [FILE]\n"
      "       theolink [--screenshot PNG] --plan FILE\n"
      "       theolink --version\n"
      "Starts the Theolink II window; FILE is opened as the Open button would.\n"
      "--screenshot starts the window off screen, saves a picture of it to PNG, prints the\n"
      "path and ends. Without a display the window does that by itself. With --edit the\n"
      "picture shows the coordinate grid editor (Coord pressed after FILE is opened).\n"
      "--plan opens FILE with the plan of its points beside the views; with --screenshot\n"
      "the picture is the plan alone, the whole of it fitted into 900 x 650 pixels.\n");
}

void Pump(QApplication& app, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) app.processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
  std::string screenshot;
  std::string file;
  bool edit = false;
  bool plan = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintUsage();
      return 0;
    }
    if (arg == "--version") {
      std::printf("theolink (Theolink II) %s\n", THEOLINK_VERSION);
      return 0;
    }
    if (arg == "--screenshot") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "theolink: --screenshot needs a file name\n");
        return 2;
      }
      screenshot = argv[++i];
    } else if (arg.rfind("--screenshot=", 0) == 0) {
      screenshot = arg.substr(std::strlen("--screenshot="));
    } else if (arg == "--edit") {
      edit = true;
    } else if (arg == "--plan") {
      if (i + 1 >= argc || !file.empty()) {
        std::fprintf(stderr, "theolink: --plan needs one file name\n");
        return 2;
      }
      plan = true;
      file = argv[++i];
    } else if (file.empty() && (arg.empty() || arg[0] != '-')) {
      file = arg;
    } else {
      std::fprintf(stderr, "theolink: unknown option '%s'\n", arg.c_str());
      PrintUsage();
      return 2;
    }
  }
  const bool noDisplay = !HasDisplay() && screenshot.empty();
  if (noDisplay) {
    std::fprintf(stderr,
                 "theolink: no display found; starting the window on the off-screen platform and\n"
                 "saving a picture of it instead.\n");
  }
  if (!screenshot.empty() && std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  theolink::TheolinkApplication app(argc, argv);
  if (noDisplay) screenshot = theolink::NoDisplayPicturePath();
  std::unique_ptr<theolink::Dialogs> dialogs;
  auto* qtDialogs = new theolink::QtDialogs;
  if (screenshot.empty()) dialogs.reset(qtDialogs);
  else {
    delete qtDialogs;
    qtDialogs = nullptr;
    dialogs = std::make_unique<theolink::ConsoleDialogs>();
  }

  theolink::TForm1 form(theolink::ShippedWindowContext(dialogs.get()));
  if (qtDialogs != nullptr) qtDialogs->SetParent(&form);
  if (!file.empty()) form.OpenAfterStart(file);
  form.show();
  if (plan) form.PlanBtnClick();

  if (screenshot.empty()) return app.exec();

  // Off screen: let the first paint show the help (and open FILE), then take the picture.
  Pump(app, 100);
  if (!form.StartHelpShown()) form.grab();
  Pump(app, 300);
  // FILE opens on a thread of its own: the picture shows it once it is in.
  while (form.FileWorkPending()) Pump(app, 20);
  if (edit) {
    form.CoordBtnClick();
    Pump(app, 100);
  }
  Pump(app, plan ? 100 : 0);
  const QImage picture = plan ? theolink::PlanImage(form.Plan().View(), 900, 650) : form.grab().toImage();
  if (!picture.save(QString::fromLocal8Bit(screenshot.c_str()), "PNG")) {
    std::fprintf(stderr, "theolink: cannot write %s\n", screenshot.c_str());
    form.close();
    return 1;
  }
  std::printf("%s\n", screenshot.c_str());
  form.close();
  return 0;
}
