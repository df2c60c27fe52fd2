// The drawing areas keep the coordinates their blocks, buses and pins are given in; a page of
// any size shows the whole area scaled by one factor and centred. Edges are mapped, not
// sizes, so rectangles that touch in the drawing still touch on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "diagram/flow_layout.h"

namespace edumac8 {

class DrawingScale {
 public:
  DrawingScale() = default;
  // Fits `drawing` into a page of `page` widget pixels.
  DrawingScale(QSize page, QSize drawing);

  double Factor() const { return factor_; }
  int X(double x) const;
  int Y(double y) const;
  QPoint Map(DrawPoint p) const { return {X(p.x), Y(p.y)}; }
  QRect Map(const DrawRect& r) const;
  // A length of the drawing on the page, never below one pixel.
  int Length(double length) const;

 private:
  double factor_ = 1;
  QPoint origin_;
};

}  // namespace edumac8
