#include "guide/experiment_guide_windows.h"

#include <QDialog>

#include "guide/tfex_jpg.h"
#include "guide/tfex_sel.h"
#include "guide/tfex_txt.h"
#include "platform/text_codec.h"
#include "workbench/workbench.h"

namespace edumac8 {

ExperimentGuideWindows::ExperimentGuideWindows(Workbench& workbench, QWidget* owner)
    : workbench_(workbench),
      sel_(new TFEx_Sel(owner)),
      txt_(new TFEx_TXT(owner)),
      jpg_(new TFEx_JPG(owner)) {}

std::optional<int> ExperimentGuideWindows::SelectExperiment(QWidget*, int preset) {
  sel_->FormShow(workbench_.experiments, preset);
  if (sel_->exec() != QDialog::Accepted) return std::nullopt;
  return sel_->ExpNo();
}

void ExperimentGuideWindows::ShowText(QWidget*, TextBlock block) {
  txt_->FormShow(workbench_.experiments, block);
  txt_->exec();
}

void ExperimentGuideWindows::ShowPicture(QWidget*, const QString& caption,
                                         const std::string& name) {
  jpg_->FormShow(workbench_.JpgDir(), caption, Gb2312ToUtf8(name));
  jpg_->exec();
}

QDialog* ExperimentGuideWindows::ShowWithoutWaiting(const QString& window) {
  QDialog* shown = jpg_;
  if (window == "select") {
    sel_->FormShow(workbench_.experiments, workbench_.experiments.CurrentExp);
    shown = sel_;
  } else if (window == "text") {
    txt_->FormShow(workbench_.experiments, TextBlock::Requirement);
    shown = txt_;
  } else {
    jpg_->FormShow(workbench_.JpgDir(), "原理图", window.toStdString());
  }
  shown->show();
  return shown;
}

}  // namespace edumac8
