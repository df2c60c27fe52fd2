// TFEx_TXT: one text block of the current experiment (requirement, purpose or notes) in a
// read-only memo, lines as the catalogue writes them.
#pragma once

#include <QDialog>

#include "guide/experiment.h"

class QPlainTextEdit;
class QPushButton;

namespace edumac8 {

class TFEx_TXT : public QDialog {
  Q_OBJECT

 public:
  explicit TFEx_TXT(QWidget* parent = nullptr);

  // Clears the memo, captions the window by the block ("实验要求", "实验目的", "实验说明")
  // and fills the memo with that block of entry CurrentExp (nothing without one).
  void FormShow(const ExperimentCatalogue& catalogue, TextBlock block);

  QPlainTextEdit* Memo1() const { return memo1_; }
  QPushButton* OKBtn() const { return okBtn_; }

  static QString Caption(TextBlock block);

 private:
  QPlainTextEdit* memo1_;
  QPushButton* okBtn_;
};

}  // namespace edumac8
