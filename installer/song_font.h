// The installer's windows are set in a serif Chinese face ("宋体"); Noto Serif CJK SC is the
// one Debian ships.
#pragma once

#include <QFont>

namespace edumac8 {

QFont SongFont();

}  // namespace edumac8
