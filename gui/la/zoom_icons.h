// The pictures of the analyser's three speed buttons, drawn rather than shipped.
#pragma once

#include <QIcon>

namespace edumac8 {

enum class ZoomIcon { In, Out, All };

QIcon ZoomButtonIcon(ZoomIcon icon);

}  // namespace edumac8
