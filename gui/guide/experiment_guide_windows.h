// The experiment guide's three windows behind the interface the graphic help and the
// structure diagram use. Created once by the main window; each call shows a window modally.
#pragma once

#include "guide/experiment_windows.h"

class QDialog;

namespace edumac8 {

class TFEx_JPG;
class TFEx_Sel;
class TFEx_TXT;
class Workbench;

class ExperimentGuideWindows : public ExperimentWindows {
 public:
  // The windows become children of `owner` and go with it.
  ExperimentGuideWindows(Workbench& workbench, QWidget* owner);

  std::optional<int> SelectExperiment(QWidget* parent, int preset) override;
  void ShowText(QWidget* parent, TextBlock block) override;
  // `name` is a catalogue name (GB2312) or a block picture's file name.
  void ShowPicture(QWidget* parent, const QString& caption, const std::string& name) override;

  // Shows one window without waiting, for pictures of it: "select", "text" (the current
  // experiment's requirements) or a picture's file name (as a schematic).
  QDialog* ShowWithoutWaiting(const QString& window);

  TFEx_Sel* FEx_Sel() const { return sel_; }
  TFEx_TXT* FEx_TXT() const { return txt_; }
  TFEx_JPG* FEx_JPG() const { return jpg_; }

 private:
  Workbench& workbench_;
  TFEx_Sel* sel_;
  TFEx_TXT* txt_;
  TFEx_JPG* jpg_;
};

}  // namespace edumac8
