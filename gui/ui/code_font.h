// The fixed-width font of the code views (disassembly, source editor).
#pragma once

#include <QFont>

namespace edumac8 {

QFont CodeFont();

}  // namespace edumac8
