// The fixed-width font of the grids: one that also holds the Chinese column texts, so that
// both keep the same cell widths.
#pragma once

#include <QFont>

namespace edumac8 {

QFont GridFont();

}  // namespace edumac8
