// TFSEG8Set ("IO"): the settings dialog of the seven-segment displays (modes 1, 2, 6; 0 is
// the eight-digit layout of old) and of the eight 32-bit data ports (mode 9). Mapping labels
// show how the chosen group's bits drive the display.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace edumac8 {

struct TFSEG8SetFields {
  int mode = 1;
  int ioGroup = 0;  // "D0" to "Out31"
  int x = 0;
  int y = 0;
  std::string name;  // GBK bytes, as the mode keeps it
};

class TFSEG8Set : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTwoDigitMode = 1;
  static constexpr int kSegmentMode = 2;
  static constexpr int kEightDigitMode = 6;
  static constexpr int kPortMode = 9;

  explicit TFSEG8Set(QWidget* parent = nullptr);

  TFSEG8SetFields fields;

  // Shows the fields and lays the dialog out for fields.mode; an unknown mode becomes 1
  // without a new layout.
  void FormShow();
  void bbOKClick();

  QComboBox* cbIO() const { return cbIO_; }
  QLineEdit* Edit1() const { return Edit1_; }
  QLineEdit* Edit2() const { return Edit2_; }
  QLineEdit* Edit3() const { return Edit3_; }
  QLabel* HEXImg() const { return HEXImg_; }
  QLabel* HEX8img() const { return HEX8img_; }
  QLabel* BINImg() const { return BINImg_; }
  QLabel* lbIO() const { return lbIO_; }
  QLabel* Mapping(int i) const { return mapping_[i - 1]; }  // i = 1 ... 8
  QPushButton* bbOK() const { return bbOK_; }
  QPushButton* bbCancel() const { return bbCancel_; }

 private:
  void cbIOChange(int index);
  void WriteMappings(const QString& group);
  void PlaceFieldRow(int top);
  QString SelectedGroupName() const;

  std::array<QLabel*, 8> mapping_;
  QLabel* HEXImg_;
  QLabel* HEX8img_;
  QLabel* BINImg_;
  QLabel* lbIO_;
  QComboBox* cbIO_;
  QLabel* lbName_;
  QLineEdit* Edit1_;
  QLabel* lbX_;
  QLineEdit* Edit2_;
  QLabel* lbY_;
  QLineEdit* Edit3_;
  QPushButton* bbOK_;
  QPushButton* bbCancel_;
  QString shownName_;
};

}  // namespace edumac8
