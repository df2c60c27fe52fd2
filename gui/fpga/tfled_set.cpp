#include "fpga/tfled_set.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "fpga/board_images.h"
#include "fpga/board_mode.h"
#include "fpga/picture_combo_box.h"
#include "fpga/shown_text.h"
#include "fpga/typed_values.h"

namespace edumac8 {
namespace {

QLabel* Caption(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(x, y, width, 24);
  return edit;
}

template <typename Combo>
Combo* List(QWidget* parent, const char* name, int x, int y, int width) {
  auto* list = new Combo(parent);
  list->setObjectName(name);
  list->setGeometry(x, y, width, 26);
  list->setMaxVisibleItems(12);
  return list;
}

int IndexOr0(int value, int count) { return value >= 0 && value < count ? value : 0; }

QString Number(long long n) { return QString::number(n); }

}  // namespace

TFLEDSet::TFLEDSet(QWidget* parent) : QDialog(parent) {
  setObjectName("TFLEDSet");
  setWindowTitle("发光管设置");
  setFixedSize(310, 250);
  const BoardImages& images = BoardImages::Get();

  cbColor_ = List<PictureComboBox>(this, "cbColor", 16, 16, 140);
  const QColor colourFocus[4] = {Qt::red, QColor(0x00, 0xFF, 0x00), Qt::blue, Qt::yellow};
  for (int c = 0; c < 4; ++c)
    cbColor_->AddPictureItem(kLedColourNames[c], images.lamps[c], colourFocus[c]);
  cbBTN_ = List<PictureComboBox>(this, "cbBTN", 16, 16, 140);
  const QColor kindFocus[5] = {Qt::blue, Qt::red, QColor(0x00, 0xFF, 0x00), Qt::black, Qt::black};
  for (int k = 0; k < 5; ++k)
    cbBTN_->AddPictureItem(kKeyKindNames[k], images.keys[k == 0 ? 0 : k + 1], kindFocus[k]);

  lbConnect_ = Caption(this, "连接到IO组", 16, 52);
  cbConnect_ = List<QComboBox>(this, "cbConnect", 16, 70, 140);
  for (int g = 0; g < kIOGroupCount; ++g)
    cbConnect_->addItem(QString::fromStdString(IOGroupName(g)));
  lbBit_ = Caption(this, "连接到IO组相应位", 170, 52);
  cbBit_ = List<QComboBox>(this, "cbBit", 170, 70, 124);
  for (int b = 0; b < 8; ++b) cbBit_->addItem("Bit " + Number(b));
  lbFreq_ = Caption(this, "选择时钟频率", 170, 52);
  cbFreq_ = List<QComboBox>(this, "cbFreq", 170, 70, 124);
  for (const char* f : kClockFrequencyNames) cbFreq_->addItem(f);
  lbCLK_ = Caption(this, "时钟个数", 170, 104);
  edCLK_ = Edit(this, "edCLK", 170, 122, 124);
  edCLK_->setMaxLength(10);

  lbName_ = Caption(this, "信号名", 16, 104);
  Edit1_ = Edit(this, "Edit1", 16, 122, 140);
  lbX_ = Caption(this, "X:", 16, 164);
  Edit2_ = Edit(this, "Edit2", 34, 160, 60);
  lbY_ = Caption(this, "Y:", 106, 164);
  Edit3_ = Edit(this, "Edit3", 124, 160, 60);

  bbOK_ = new QPushButton("确定", this);
  bbOK_->setObjectName("bbOK");
  bbOK_->setGeometry(60, 204, 86, 30);
  bbOK_->setDefault(true);
  bbCancel_ = new QPushButton("取消", this);
  bbCancel_->setObjectName("bbCancel");
  bbCancel_->setGeometry(164, 204, 86, 30);
  connect(bbOK_, &QPushButton::clicked, this, &TFLEDSet::bbOKClick);
  connect(bbCancel_, &QPushButton::clicked, this, &QDialog::reject);

  connect(cbColor_, &QComboBox::currentIndexChanged, this, &TFLEDSet::cbColorChange);
  connect(cbBTN_, &QComboBox::currentIndexChanged, this, &TFLEDSet::cbBTNChange);
  connect(cbConnect_, &QComboBox::currentIndexChanged, this, &TFLEDSet::cbConnectChange);
  // Until a mode lays it out, the dialog shows an LED's controls.
  cbBTN_->hide();
  ShowClockControls(false);
}

void TFLEDSet::ShowClockControls(bool shown) {
  for (QWidget* w : {static_cast<QWidget*>(lbFreq_), static_cast<QWidget*>(cbFreq_),
                     static_cast<QWidget*>(lbCLK_), static_cast<QWidget*>(edCLK_)})
    w->setVisible(shown);
}

void TFLEDSet::ShowBitControls(bool shown) {
  lbBit_->setVisible(shown);
  cbBit_->setVisible(shown);
}

void TFLEDSet::ShowPosition(bool shown) {
  for (QWidget* w : {static_cast<QWidget*>(lbX_), static_cast<QWidget*>(Edit2_),
                     static_cast<QWidget*>(lbY_), static_cast<QWidget*>(Edit3_)})
    w->setVisible(shown);
}

void TFLEDSet::FormShow() {
  // The position and the name always show the caller's values, so that OK never moves a
  // component to where the dialog's previous use left them.
  shownName_ = ShownText(fields.name);
  Edit1_->setText(shownName_);
  Edit2_->setText(Number(fields.x));
  Edit3_->setText(Number(fields.y));
  if (fields.mode == kLedMode) {
    setWindowTitle("发光管设置");
    cbColor_->show();
    cbBTN_->hide();
    ShowClockControls(false);
    lbConnect_->setText("连接到IO组");
    lbConnect_->adjustSize();
    cbConnect_->setEnabled(true);
    ShowPosition(true);
    cbConnect_->setCurrentIndex(IndexOr0(fields.ioGroup, kIOGroupCount));
    cbBit_->setCurrentIndex(IndexOr0(fields.bit, 8));
    cbColor_->setCurrentIndex(IndexOr0(fields.colour, 4));
    cbConnectChange(cbConnect_->currentIndex());
  } else if (fields.mode == kKeyMode) {
    setWindowTitle("按键设置");
    cbColor_->hide();
    cbBTN_->show();
    ShowBitControls(false);
    ShowPosition(false);
    lbConnect_->setText("固定连接到IO组");
    lbConnect_->adjustSize();
    cbConnect_->setEnabled(false);
    cbConnect_->setCurrentIndex(ValidIOGroup(fields.ioGroup) ? fields.ioGroup : -1);
    cbBTN_->setCurrentIndex(IndexOr0(fields.colour, 5));
    cbFreq_->setCurrentIndex(IndexOr0(fields.bit, static_cast<int>(kClockFrequencyNames.size())));
    edCLK_->setText(Number(static_cast<int>(fields.clockCount)));
    ShowClockControls(IsClockKey(cbBTN_->currentIndex()));
  }
}

void TFLEDSet::cbColorChange(int index) {
  if (index >= 0) fields.colour = index;
}

void TFLEDSet::cbBTNChange(int index) {
  if (index < 0) return;
  fields.colour = index;
  ShowClockControls(IsClockKey(index));
}

void TFLEDSet::cbConnectChange(int index) {
  const bool key = index >= kFirstKeyGroup;
  ShowBitControls(index >= 0 && !key);
  if (key) cbBit_->setCurrentIndex(0);
}

void TFLEDSet::bbOKClick() {
  const auto typedName = [this] {
    return Edit1_->text() == shownName_ ? fields.name : TypedText(Edit1_->text().toStdString());
  };
  if (fields.mode == kLedMode) {
    fields.name = typedName();
    fields.ioGroup = cbConnect_->currentIndex();
    fields.bit = cbBit_->currentIndex();
    fields.colour = cbColor_->currentIndex();
  } else if (fields.mode == kKeyMode) {
    fields.name = typedName();
    fields.clockCount = TypedClockCount(edCLK_->text().toStdString());
    fields.bit = cbFreq_->currentIndex();
    fields.colour = cbBTN_->currentIndex();
  }
  fields.x = TypedPosition(Edit2_->text().toStdString(), fields.x, kBoardMaxX);
  fields.y = TypedPosition(Edit3_->text().toStdString(), fields.y, kBoardMaxY);
  Edit2_->setText(Number(fields.x));
  Edit3_->setText(Number(fields.y));
  accept();
}

}  // namespace edumac8
