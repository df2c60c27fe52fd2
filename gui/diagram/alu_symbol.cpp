#include "diagram/alu_symbol.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include "diagram/diagram_colours.h"

namespace edumac8 {
namespace {

// The outline, from its top left corner clockwise; the notch at the bottom separates the
// two operand inputs.
constexpr QPointF kOutline[] = {{36, 0},  {95, 0},  {131, 72}, {85, 72},
                                {75, 50}, {55, 50}, {45, 72},  {0, 72}};

}  // namespace

AluSymbol::AluSymbol(QWidget* parent) : QWidget(parent) {
  setObjectName("pbALU");
  setAttribute(Qt::WA_NoSystemBackground);
}

void AluSymbol::SetFactor(double factor) {
  factor_ = factor;
  // Only the symbol belongs to the widget: the lamps and frames around it repaint, and take
  // the pointer, without it. The mask keeps the outline's antialiased edge.
  QPainterPath shape;
  shape.addPolygon(Outline());
  shape.closeSubpath();
  QPainterPathStroker edge;
  edge.setWidth(std::max(1.0, factor_) + 2);
  setMask(QRegion(shape.united(edge.createStroke(shape)).toFillPolygon().toPolygon()));
  update();
}

void AluSymbol::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

QPolygonF AluSymbol::Outline() const {
  QPolygonF outline;
  for (const QPointF& p : kOutline) outline << p * factor_;
  return outline;
}

bool AluSymbol::Contains(const QPointF& widgetPoint) const {
  return Outline().containsPoint(widgetPoint, Qt::OddEvenFill);
}

void AluSymbol::paintEvent(QPaintEvent*) {
  using namespace colours;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPolygonF outline = Outline();
  const double edge = std::max(1.0, factor_);
  p.setPen(QPen(kWhite, edge));
  p.setBrush(pressed_ ? kPressedFace : kFace);
  p.drawPolygon(outline);
  // Edges facing down or right carry the shade, those facing up or left the light; pressing
  // swaps them. Edge i runs from corner i to corner i + 1.
  const auto edges = [&](std::initializer_list<int> which, const QColor& colour) {
    p.setPen(QPen(colour, edge, Qt::SolidLine, Qt::RoundCap));
    for (int i : which) p.drawLine(outline[i], outline[(i + 1) % outline.size()]);
  };
  edges({1, 2, 4, 5, 6}, pressed_ ? kWhite : kShadow);
  edges({0, 3, 7}, pressed_ ? kShadow : kWhite);

  p.setPen(kBlack);
  p.setFont(font());
  const QPointF at(kWidth * factor_ / 3 + 10 * factor_, kHeight * factor_ / 3);
  const QPointF shift = pressed_ ? QPointF(1, 1) : QPointF();
  p.drawText(QRectF(at + shift, QSizeF(width(), height())), Qt::AlignLeft | Qt::AlignTop, caption_);
}

void AluSymbol::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Contains(event->position())) {
    event->ignore();
    return;
  }
  pressed_ = true;
  update();
}

void AluSymbol::mouseReleaseEvent(QMouseEvent* event) {
  if (!pressed_) {
    event->ignore();
    return;
  }
  pressed_ = false;
  update();
  if (Contains(event->position())) emit clicked();
}

}  // namespace edumac8
