// TFLEDSet: the settings dialog of an LED (mode 5), a button component (mode 7) and a key of
// the bottom row (mode 8). The caller fills `fields`, calls FormShow and runs the dialog
// modally; after OK the fields hold the choice. The dialog knows nothing of the board.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace edumac8 {

class PictureComboBox;

struct TFLEDSetFields {
  int mode = 5;
  int ioGroup = 0;
  int colour = 0;  // an LED's colour or a key's kind
  int bit = 0;     // an LED's bit or a key's clock frequency
  std::uint32_t clockCount = 0;
  int x = 0;
  int y = 0;
  std::string name;  // GBK bytes, as the mode keeps it
};

class TFLEDSet : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLedMode = 5;
  static constexpr int kButtonMode = 7;
  static constexpr int kKeyMode = 8;

  explicit TFLEDSet(QWidget* parent = nullptr);

  TFLEDSetFields fields;

  // Lays the dialog out for fields.mode and shows the fields in the controls. A mode other
  // than 5 and 8 keeps the layout of the previous use.
  void FormShow();
  void bbOKClick();

  PictureComboBox* cbColor() const { return cbColor_; }
  QComboBox* cbConnect() const { return cbConnect_; }
  QComboBox* cbBit() const { return cbBit_; }
  PictureComboBox* cbBTN() const { return cbBTN_; }
  QComboBox* cbFreq() const { return cbFreq_; }
  QLineEdit* edCLK() const { return edCLK_; }
  QLineEdit* Edit1() const { return Edit1_; }
  QLineEdit* Edit2() const { return Edit2_; }
  QLineEdit* Edit3() const { return Edit3_; }
  QLabel* ConnectLabel() const { return lbConnect_; }
  QPushButton* bbOK() const { return bbOK_; }
  QPushButton* bbCancel() const { return bbCancel_; }

 private:
  void cbColorChange(int index);
  void cbBTNChange(int index);
  void cbConnectChange(int index);
  void ShowClockControls(bool shown);
  void ShowBitControls(bool shown);
  void ShowPosition(bool shown);

  PictureComboBox* cbColor_;
  PictureComboBox* cbBTN_;
  QLabel* lbConnect_;
  QComboBox* cbConnect_;
  QLabel* lbBit_;
  QComboBox* cbBit_;
  QLabel* lbFreq_;
  QComboBox* cbFreq_;
  QLabel* lbCLK_;
  QLineEdit* edCLK_;
  QLabel* lbName_;
  QLineEdit* Edit1_;
  QLabel* lbX_;
  QLineEdit* Edit2_;
  QLabel* lbY_;
  QLineEdit* Edit3_;
  QPushButton* bbOK_;
  QPushButton* bbCancel_;
  // The name as shown: an untouched name keeps its bytes.
  QString shownName_;
};

}  // namespace edumac8
