#include "song_font.h"

#include <QApplication>

namespace edumac8 {

QFont SongFont() {
  QFont font = QApplication::font();
  font.setFamilies({"Noto Serif CJK SC", "Noto Sans CJK SC", font.family()});
  font.setPointSize(9);
  return font;
}

}  // namespace edumac8
