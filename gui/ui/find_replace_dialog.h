// Find and replace for a source editor: a small non-modal dialog. Find next continues from
// the caret and wraps around the end of the text.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace edumac8 {

class FindReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  FindReplaceDialog(QsciScintilla& editor, QWidget* parent);

  // Shows the dialog with or without the replace row, the selected text as the search text.
  void Open(bool withReplace);

  void SetSearch(const QString& text, bool caseSensitive = false, bool wholeWords = false);
  void SetReplacement(const QString& text);
  bool FindNext();    // selects the next match; false (and says so) when there is none
  bool ReplaceOne();  // replaces the selected match, then finds the next one
  int ReplaceAll();   // returns the number of replacements, as one undo step

 private:
  bool Matching() const;

  QsciScintilla& editor_;
  QLineEdit* search_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  QLabel* replacementLabel_ = nullptr;
  QCheckBox* caseSensitive_ = nullptr;
  QCheckBox* wholeWords_ = nullptr;
  QPushButton* replaceButton_ = nullptr;
  QPushButton* replaceAllButton_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace edumac8
