#include "ui/code_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace edumac8 {

QFont CodeFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  // DejaVu Sans Mono keeps the columns of the hex and mnemonic fields; the CJK mono face
  // covers Chinese comments at the same width.
  font.setFamilies(QStringList{"DejaVu Sans Mono", "Noto Sans Mono CJK SC", font.family()});
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(10);
  return font;
}

}  // namespace edumac8
