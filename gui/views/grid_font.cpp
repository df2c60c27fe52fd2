#include "views/grid_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace edumac8 {

QFont GridFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  // A monospaced face with CJK glyphs first; the system's fixed font takes what it lacks.
  font.setFamilies(
      {QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("DejaVu Sans Mono"), font.family()});
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(9);
  return font;
}

}  // namespace edumac8
