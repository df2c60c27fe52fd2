#include "guide/tfex_sel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text_codec.h"

namespace edumac8 {

TFEx_Sel::TFEx_Sel(QWidget* parent)
    : QDialog(parent),
      comboBox1_(new QComboBox(this)),
      okBtn_(new QPushButton("确定", this)),
      cancelBtn_(new QPushButton("取消", this)) {
  setObjectName("FEx_Sel");
  setWindowTitle("实验选择");
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setMinimumWidth(360);
  comboBox1_->setMaxVisibleItems(20);
  okBtn_->setObjectName("OKBtn");
  okBtn_->setDefault(true);
  cancelBtn_->setObjectName("CancelBtn");
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(okBtn_, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancelBtn_, QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this](int item) {
    if (item >= 0) expNo_ = item + 1;
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("请选择实验:", this));
  layout->addWidget(comboBox1_);
  layout->addStretch();
  layout->addWidget(buttons);
}

void TFEx_Sel::FormShow(const ExperimentCatalogue& catalogue, int preset) {
  const QSignalBlocker quiet(comboBox1_);
  comboBox1_->clear();
  for (const TExperiment& e : catalogue.Entries)
    comboBox1_->addItem(QString::fromStdString(Gb2312ToUtf8(e.Name)));
  expNo_ = preset;
  comboBox1_->setCurrentIndex(preset >= 1 && preset <= catalogue.ExpCount() ? preset - 1 : -1);
}

}  // namespace edumac8
