#include "guide/tfex_txt.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/text_codec.h"
#include "ui/code_font.h"

namespace edumac8 {

TFEx_TXT::TFEx_TXT(QWidget* parent)
    : QDialog(parent), memo1_(new QPlainTextEdit(this)), okBtn_(new QPushButton("确定", this)) {
  setObjectName("FEx_TXT");
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Teachers line texts up with spaces and tabs: a fixed-width font keeps the columns.
  memo1_->setFont(CodeFont());
  memo1_->setTabStopDistance(8 * QFontMetrics(memo1_->font()).horizontalAdvance(' '));
  okBtn_->setObjectName("OKBtn");
  okBtn_->setDefault(true);
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo1_);
  layout->addLayout(buttons);
  resize(640, 420);
}

QString TFEx_TXT::Caption(TextBlock block) {
  switch (block) {
    case TextBlock::Purpose:
      return "实验目的";
    case TextBlock::Notes:
      return "实验说明";
    case TextBlock::Requirement:
      break;
  }
  return "实验要求";
}

void TFEx_TXT::FormShow(const ExperimentCatalogue& catalogue, TextBlock block) {
  memo1_->clear();
  setWindowTitle(Caption(block));
  const TExperiment* entry = catalogue.Current();
  if (!entry) return;
  QStringList lines;
  for (const std::string& line : entry->Block(block))
    lines << QString::fromStdString(Gb2312ToUtf8(line));
  memo1_->setPlainText(lines.join('\n'));
}

}  // namespace edumac8
