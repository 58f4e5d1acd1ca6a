#pragma once
// The plan beside the views: its buttons (fit all, save the picture, print) above the
// canvas. The scene is made from the working data when the panel is shown or the data
// changes while it shows.
#include <QWidget>
#include <functional>
#include <memory>

#include "files/plan_scene.h"

class QPushButton;

namespace theolink {

class Dialogs;
class PlanView;

class PlanPanel final : public QWidget {
 public:
  // scene makes the scene of the data as it is now; folder is where a save dialog starts.
  PlanPanel(Dialogs& dialogs, std::function<PlanScene()> scene, std::function<QString()> folder,
            QWidget* parent = nullptr);

  PlanView& View() { return *view_; }
  // The data changed: a shown plan is made again, a hidden one when it is next shown.
  void DataChanged();
  // Shows (with the data as it is now) or hides the plan.
  void ShowPlan(bool shown);
  bool PlanShown() const { return !isHidden(); }
  // How much wider the window got for the plan (0 when hidden).
  int GrownBy() const { return grownBy_; }
  void SetCaptions();
  void FitAllBtnClick();
  void SavePlanBtnClick();
  void PrintPlanBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Rebuild();

  Dialogs& dialogs_;
  std::function<PlanScene()> scene_;
  std::function<QString()> folder_;
  bool stale_ = true;
  int grownBy_ = 0;  // what the window grew by when the plan was shown
  PlanView* view_ = nullptr;
  QPushButton* fitAllBtn_ = nullptr;
  QPushButton* savePlanBtn_ = nullptr;
  QPushButton* printPlanBtn_ = nullptr;
};

}  // namespace theolink
