#include "diagram/drawing_scale.h"

#include <algorithm>
#include <cmath>

namespace edumac8 {

DrawingScale::DrawingScale(QSize page, QSize drawing) {
  factor_ =
      std::min(double(page.width()) / drawing.width(), double(page.height()) / drawing.height());
  if (factor_ <= 0) factor_ = 1;
  origin_ = QPoint(int(std::floor((page.width() - drawing.width() * factor_) / 2)),
                   int(std::floor((page.height() - drawing.height() * factor_) / 2)));
}

int DrawingScale::X(double x) const { return origin_.x() + int(std::lround(x * factor_)); }
int DrawingScale::Y(double y) const { return origin_.y() + int(std::lround(y * factor_)); }

QRect DrawingScale::Map(const DrawRect& r) const {
  const int left = X(r.left), top = Y(r.top);
  return QRect(left, top, X(r.right()) - left, Y(r.bottom()) - top);
}

int DrawingScale::Length(double length) const {
  return std::max(1, int(std::lround(length * factor_)));
}

}  // namespace edumac8
