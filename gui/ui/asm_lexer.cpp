#include "ui/asm_lexer.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QColor>

#include "ui/code_font.h"

namespace edumac8 {
namespace {

bool WordStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '?' || c == '@';
}
bool WordPart(char c) { return WordStart(c) || (c >= '0' && c <= '9'); }
bool Digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

AsmLexer::AsmLexer(QObject* parent) : QsciLexerCustom(parent) {
  setDefaultFont(CodeFont());
  setFont(CodeFont());
  QFont bold = CodeFont();
  bold.setBold(true);
  setFont(bold, Keyword);
  setColor(QColor(0x00, 0x00, 0x00), Default);
  setColor(QColor(0x00, 0x30, 0xA0), Keyword);
  setColor(QColor(0x2E, 0x7D, 0x32), Comment);
  setColor(QColor(0x8E, 0x24, 0xAA), Number);
  setColor(QColor(0xA0, 0x50, 0x00), String);
  setPaper(QColor(0xFF, 0xFF, 0xFF));
  setDefaultPaper(QColor(0xFF, 0xFF, 0xFF));
}

void AsmLexer::SetKeywords(std::string_view list) {
  keywords_.clear();
  std::size_t begin = 0;
  for (std::size_t i = 0; i < list.size() && list[i] != '\0'; ++i) {
    if (list[i] != '\xFF') continue;
    keywords_.insert(QString::fromLatin1(list.data() + begin, int(i - begin)).toLower());
    begin = i + 1;
  }
}

QString AsmLexer::description(int style) const {
  switch (style) {
    case Default:
      return "Default";
    case Keyword:
      return "Keyword";
    case Comment:
      return "Comment";
    case Number:
      return "Number";
    case String:
      return "String";
  }
  return {};
}

void AsmLexer::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (!ed || end <= start) return;
  // Every line is independent, so styling restarts at the beginning of start's line.
  const int line = int(ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
  start = int(ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line));
  QByteArray text(end - start + 1, '\0');
  ed->SendScintilla(QsciScintilla::SCI_GETTEXTRANGE, start, end, text.data());
  text.resize(end - start);
  startStyling(start);
  int i = 0;
  const int n = text.size();
  const auto run = [&](int length, int style) {
    setStyling(length, style);
    i += length;
  };
  while (i < n) {
    const char c = text[i];
    int j = i + 1;
    if (c == ';') {
      while (j < n && text[j] != '\n' && text[j] != '\r') ++j;
      run(j - i, Comment);
    } else if (c == '\'' || c == '"') {
      while (j < n && text[j] != c && text[j] != '\n' && text[j] != '\r') ++j;
      if (j < n && text[j] == c) ++j;
      run(j - i, String);
    } else if (Digit(c)) {
      while (j < n && WordPart(text[j])) ++j;
      run(j - i, Number);
    } else if (WordStart(c)) {
      while (j < n && WordPart(text[j])) ++j;
      run(j - i, IsKeyword(QString::fromLatin1(text.constData() + i, j - i)) ? Keyword : Default);
    } else {
      // A multi-byte character is styled whole: Scintilla counts bytes.
      while (j < n && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) ++j;
      run(j - i, Default);
    }
  }
}

}  // namespace edumac8
