// Colouring of assembly sources: the assembler's keywords (reserved words and the current
// mnemonics, as the instruction system lists them for the editor), comments, numbers and
// strings. Words are matched without regard to case, as the assembler reads them.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QSet>
#include <QString>
#include <string_view>

namespace edumac8 {

class AsmLexer : public QsciLexerCustom {
  Q_OBJECT

 public:
  enum Style { Default = 0, Keyword = 1, Comment = 2, Number = 3, String = 4 };

  explicit AsmLexer(QObject* parent = nullptr);

  // Takes the instruction system's EditorKeywordList: each word followed by 0xFF, the list
  // ended by NUL.
  void SetKeywords(std::string_view editorKeywordList);
  bool IsKeyword(const QString& word) const { return keywords_.contains(word.toLower()); }

  const char* language() const override { return "EDUMAC8 ASM"; }
  QString description(int style) const override;
  void styleText(int start, int end) override;

 private:
  QSet<QString> keywords_;
};

}  // namespace edumac8
