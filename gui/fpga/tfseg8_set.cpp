#include "fpga/tfseg8_set.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "fpga/board_images.h"
#include "fpga/board_mode.h"
#include "fpga/shown_text.h"
#include "fpga/typed_values.h"

namespace edumac8 {
namespace {

QLabel* Picture(QWidget* parent, const char* name, const QImage& image) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setPixmap(QPixmap::fromImage(image));
  label->setGeometry(QRect(QPoint(168, 16), image.size()));
  return label;
}

QLineEdit* Edit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

// The group, name and position row lies below the mapping and the pictures; a data port has
// neither, and its dialog keeps only that row.
constexpr int kDisplayRowTop = 194;
constexpr int kPortRowTop = 12;

}  // namespace

TFSEG8Set::TFSEG8Set(QWidget* parent) : QDialog(parent) {
  setObjectName("TFSEG8Set");
  setWindowTitle("IO");
  QFont small = font();
  small.setPointSize(9);
  for (int i = 1; i <= 8; ++i) {
    QLabel* label = new QLabel(this);
    label->setObjectName(QString("Mapping%1").arg(i));
    label->setFont(small);
    label->move(8, 20 * i);
    label->setMinimumSize(41, 16);
    label->setText(QString("D0.Bit%1 -->%2").arg(8 - i).arg(QChar(105 - i)));
    label->adjustSize();
    mapping_[i - 1] = label;
  }
  const BoardImages& images = BoardImages::Get();
  HEXImg_ = Picture(this, "HEXImg", images.HEXImg);
  HEX8img_ = Picture(this, "HEX8img", images.HEX8img);
  BINImg_ = Picture(this, "BINImg", images.BINImg);

  lbIO_ = new QLabel("连接到IO", this);
  cbIO_ = new QComboBox(this);
  cbIO_->setObjectName("cbIO");
  cbIO_->setMaxVisibleItems(12);
  for (int g = 0; g < kFirstKeyGroup; ++g) cbIO_->addItem(QString::fromStdString(IOGroupName(g)));
  lbName_ = new QLabel("信号名", this);
  Edit1_ = Edit(this, "Edit1");
  lbX_ = new QLabel("X:", this);
  Edit2_ = Edit(this, "Edit2");
  lbY_ = new QLabel("Y:", this);
  Edit3_ = Edit(this, "Edit3");
  bbOK_ = new QPushButton("确定", this);
  bbOK_->setObjectName("bbOK");
  bbOK_->setDefault(true);
  bbCancel_ = new QPushButton("取消", this);
  bbCancel_->setObjectName("bbCancel");
  PlaceFieldRow(kDisplayRowTop);
  connect(bbOK_, &QPushButton::clicked, this, &TFSEG8Set::bbOKClick);
  connect(bbCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cbIO_, &QComboBox::currentIndexChanged, this, &TFSEG8Set::cbIOChange);
}

void TFSEG8Set::PlaceFieldRow(int top) {
  const auto label = [](QLabel* l, int x, int y) {
    l->move(x, y);
    l->adjustSize();
  };
  label(lbIO_, 8, top);
  cbIO_->setGeometry(8, top + 18, 110, 26);
  label(lbName_, 132, top);
  Edit1_->setGeometry(132, top + 18, 120, 24);
  label(lbX_, 266, top + 22);
  Edit2_->setGeometry(284, top + 18, 50, 24);
  label(lbY_, 342, top + 22);
  Edit3_->setGeometry(360, top + 18, 50, 24);
  bbOK_->setGeometry(110, top + 56, 86, 30);
  bbCancel_->setGeometry(224, top + 56, 86, 30);
  setFixedSize(420, top + 96);
}

QString TFSEG8Set::SelectedGroupName() const {
  // A group the list lacks (from a mode file) is still named in the mapping.
  return cbIO_->currentIndex() >= 0 ? cbIO_->currentText()
                                    : QString::fromStdString(IOGroupName(fields.ioGroup));
}

void TFSEG8Set::WriteMappings(const QString& g) {
  static const char* const kNibbles[8] = {"Bit28..31", "Bit24..27", "Bit20..23", "Bit16..19",
                                          "Bit12..15", "Bit 8..11", "Bit 4..7 ", "Bit 0..3 "};
  for (int i = 1; i <= 8; ++i) {
    QString text;
    switch (fields.mode) {
      case kTwoDigitMode:
        text = g + ".Bit " + QString::number(8 - i);
        break;
      case kSegmentMode:
        text = g + ".Bit " + QString::number(8 - i) + "-->Seg " + QChar('a' + 8 - i);
        break;
      case kEightDigitMode:
        text = g + "." + kNibbles[i - 1];
        break;
      default:
        return;
    }
    mapping_[i - 1]->setText(text);
    mapping_[i - 1]->adjustSize();
  }
}

void TFSEG8Set::FormShow() {
  shownName_ = ShownText(fields.name);
  Edit1_->setText(shownName_);
  Edit2_->setText(QString::number(fields.x));
  Edit3_->setText(QString::number(fields.y));
  for (QLabel* picture : {HEXImg_, HEX8img_, BINImg_}) picture->hide();
  cbIO_->blockSignals(true);
  cbIO_->setCurrentIndex(fields.ioGroup >= 0 && fields.ioGroup < kFirstKeyGroup ? fields.ioGroup
                                                                                : -1);
  cbIO_->blockSignals(false);
  for (QWidget* w : {static_cast<QWidget*>(lbX_), static_cast<QWidget*>(Edit2_),
                     static_cast<QWidget*>(lbY_), static_cast<QWidget*>(Edit3_)})
    w->show();
  cbIO_->setEnabled(true);

  const bool port = fields.mode == kPortMode;
  if (fields.mode == 0 || fields.mode == kTwoDigitMode || fields.mode == kSegmentMode ||
      fields.mode == kEightDigitMode || port)
    PlaceFieldRow(port ? kPortRowTop : kDisplayRowTop);
  switch (fields.mode) {
    case 0:
      setWindowTitle("8位数码管输出设置1");
      HEXImg_->show();
      break;
    case kTwoDigitMode:
      setWindowTitle("2位数码管输出设置2");
      HEXImg_->show();
      break;
    case kSegmentMode:
      setWindowTitle("数码管笔划输出设置");
      BINImg_->show();
      break;
    case kEightDigitMode:
      setWindowTitle("8位数码管输出设置");
      HEX8img_->show();
      break;
    case kPortMode:
      setWindowTitle("32位数据输入");
      for (QWidget* w : {static_cast<QWidget*>(lbX_), static_cast<QWidget*>(Edit2_),
                         static_cast<QWidget*>(lbY_), static_cast<QWidget*>(Edit3_)})
        w->hide();
      cbIO_->setEnabled(false);
      break;
    default:
      fields.mode = kTwoDigitMode;
      return;
  }
  for (QLabel* label : mapping_) label->setVisible(!port);
  WriteMappings(SelectedGroupName());
}

void TFSEG8Set::cbIOChange(int) { WriteMappings(SelectedGroupName()); }

void TFSEG8Set::bbOKClick() {
  if (Edit1_->text() != shownName_) fields.name = TypedText(Edit1_->text().toStdString());
  if (cbIO_->currentIndex() >= 0) fields.ioGroup = cbIO_->currentIndex();
  fields.x = TypedPosition(Edit2_->text().toStdString(), fields.x, kBoardMaxX);
  fields.y = TypedPosition(Edit3_->text().toStdString(), fields.y, kBoardMaxY);
  Edit2_->setText(QString::number(fields.x));
  Edit3_->setText(QString::number(fields.y));
  accept();
}

}  // namespace edumac8
