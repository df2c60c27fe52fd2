// TFEx_Sel "实验选择": the experiment selection dialog. The caller presets an entry number;
// on OK the dialog's entry number is the chosen entry (the preset when nothing was chosen).
#pragma once

#include <QDialog>

#include "guide/experiment.h"

class QComboBox;
class QPushButton;

namespace edumac8 {

class TFEx_Sel : public QDialog {
  Q_OBJECT

 public:
  explicit TFEx_Sel(QWidget* parent = nullptr);

  // Fills the list with the names of entries 1 to ExpCount (item i is entry i + 1) and
  // selects the preset entry's item, none when it matches no item.
  void FormShow(const ExperimentCatalogue& catalogue, int preset);
  int ExpNo() const { return expNo_; }

  QComboBox* ComboBox1() const { return comboBox1_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

 private:
  QComboBox* comboBox1_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  int expNo_ = 0;
};

}  // namespace edumac8
