#include "ui/find_replace_dialog.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace edumac8 {

FindReplaceDialog::FindReplaceDialog(QsciScintilla& editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
  setObjectName("FindReplaceDialog");
  search_ = new QLineEdit(this);
  replacement_ = new QLineEdit(this);
  replacementLabel_ = new QLabel("替换为:", this);
  caseSensitive_ = new QCheckBox("区分大小写", this);
  wholeWords_ = new QCheckBox("全字匹配", this);
  auto* findButton = new QPushButton("查找下一个", this);
  replaceButton_ = new QPushButton("替换", this);
  replaceAllButton_ = new QPushButton("全部替换", this);
  auto* closeButton = new QPushButton("关闭", this);
  result_ = new QLabel(this);
  findButton->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("查找:", this), 0, 0);
  grid->addWidget(search_, 0, 1);
  grid->addWidget(findButton, 0, 2);
  grid->addWidget(replacementLabel_, 1, 0);
  grid->addWidget(replacement_, 1, 1);
  grid->addWidget(replaceButton_, 1, 2);
  auto* options = new QHBoxLayout;
  options->addWidget(caseSensitive_);
  options->addWidget(wholeWords_);
  options->addStretch();
  grid->addLayout(options, 2, 1);
  grid->addWidget(replaceAllButton_, 2, 2);
  grid->addWidget(result_, 3, 1);
  grid->addWidget(closeButton, 3, 2);

  connect(findButton, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(replaceButton_, &QPushButton::clicked, this, [this] { ReplaceOne(); });
  connect(replaceAllButton_, &QPushButton::clicked, this, [this] { ReplaceAll(); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
}

void FindReplaceDialog::Open(bool withReplace) {
  setWindowTitle(withReplace ? "替换" : "查找");
  for (QWidget* w :
       {static_cast<QWidget*>(replacement_), static_cast<QWidget*>(replacementLabel_),
        static_cast<QWidget*>(replaceButton_), static_cast<QWidget*>(replaceAllButton_)})
    w->setVisible(withReplace);
  if (editor_.hasSelectedText() && !editor_.selectedText().contains('\n'))
    search_->setText(editor_.selectedText());
  result_->clear();
  show();
  raise();
  activateWindow();
  search_->setFocus();
  search_->selectAll();
}

void FindReplaceDialog::SetSearch(const QString& text, bool caseSensitive, bool wholeWords) {
  search_->setText(text);
  caseSensitive_->setChecked(caseSensitive);
  wholeWords_->setChecked(wholeWords);
}

void FindReplaceDialog::SetReplacement(const QString& text) { replacement_->setText(text); }

bool FindReplaceDialog::FindNext() {
  result_->clear();
  if (search_->text().isEmpty()) return false;
  const bool found = editor_.findFirst(search_->text(), false, caseSensitive_->isChecked(),
                                       wholeWords_->isChecked(), true);
  if (!found) result_->setText("找不到 \"" + search_->text() + "\"");
  return found;
}

bool FindReplaceDialog::Matching() const {
  if (!editor_.hasSelectedText()) return false;
  const Qt::CaseSensitivity cs =
      caseSensitive_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return editor_.selectedText().compare(search_->text(), cs) == 0;
}

bool FindReplaceDialog::ReplaceOne() {
  if (search_->text().isEmpty()) return false;
  if (Matching()) editor_.replaceSelectedText(replacement_->text());
  return FindNext();
}

int FindReplaceDialog::ReplaceAll() {
  result_->clear();
  if (search_->text().isEmpty()) return 0;
  int count = 0;
  editor_.beginUndoAction();
  editor_.setCursorPosition(0, 0);
  // Searching forwards without wrapping from the start visits every match once, even when
  // the replacement contains the search text.
  while (editor_.findFirst(search_->text(), false, caseSensitive_->isChecked(),
                           wholeWords_->isChecked(), false, true)) {
    editor_.replace(replacement_->text());
    ++count;
  }
  editor_.endUndoAction();
  result_->setText(QString("已替换 %1 处").arg(count));
  return count;
}

}  // namespace edumac8
