#include "canvas.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QStringList>
#include <cmath>

namespace edumac8::pictures {

QFont Font(int pointSize, bool bold) {
  QFont font;
  font.setFamilies(QStringList{"Noto Sans CJK SC", "DejaVu Sans"});
  font.setPointSize(pointSize);
  font.setBold(bold);
  return font;
}

Canvas::Canvas(int width, int height) : image_(width, height, QImage::Format_RGB32) {
  image_.fill(Qt::white);
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::TextAntialiasing);
}

QImage Canvas::Finish() {
  painter_.end();
  return image_;
}

void Canvas::Title(const QString& title) {
  TextIn(QRectF(0, 10, Width(), 36), title, 15, Qt::AlignCenter, colour::kBlockEdge, true);
  painter_.setPen(QPen(colour::kBlockEdge, 1));
  painter_.drawLine(QPointF(20, 50), QPointF(Width() - 20, 50));
}

void Canvas::Text(QPointF at, const QString& text, int size, const QColor& colour, bool bold) {
  painter_.setFont(Font(size, bold));
  painter_.setPen(colour);
  const QFontMetricsF metrics(painter_.font());
  painter_.drawText(at + QPointF(0, metrics.ascent()), text);
}

void Canvas::TextIn(const QRectF& box, const QString& text, int size, Qt::Alignment align,
                    const QColor& colour, bool bold) {
  painter_.setFont(Font(size, bold));
  painter_.setPen(colour);
  painter_.drawText(box, static_cast<int>(align), text);
}

void Canvas::Block(const QRectF& box, const QString& name, const QString& description) {
  painter_.setPen(QPen(colour::kBlockEdge, 2));
  painter_.setBrush(colour::kBlock);
  painter_.drawRoundedRect(box, 6, 6);
  painter_.setBrush(Qt::NoBrush);
  if (description.isEmpty()) {
    TextIn(box, name, 13, Qt::AlignCenter, colour::kBlockEdge, true);
    return;
  }
  const QRectF upper(box.left(), box.top() + 4, box.width(), box.height() * 0.55);
  const QRectF lower(box.left(), upper.bottom(), box.width(), box.height() * 0.4);
  TextIn(upper, name, 13, Qt::AlignHCenter | Qt::AlignBottom, colour::kBlockEdge, true);
  TextIn(lower, description, 8, Qt::AlignHCenter | Qt::AlignTop, colour::kNote);
}

void Canvas::Pin(QPointF centre, int number, Label label) {
  painter_.setPen(QPen(Qt::gray, 1));
  painter_.setBrush(colour::kPin);
  painter_.drawEllipse(centre, 5, 5);
  painter_.setBrush(Qt::NoBrush);
  const QRectF box = label == Label::Right   ? QRectF(centre.x() + 6, centre.y() - 7, 20, 14)
                     : label == Label::Below ? QRectF(centre.x() - 14, centre.y() + 6, 28, 14)
                                             : QRectF(centre.x() - 14, centre.y() - 20, 28, 14);
  TextIn(box, QString::number(number), 7,
         label == Label::Right ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter, colour::kNote);
}

void Canvas::Arrow(QPointF from, QPointF to, const QColor& colour, double width) {
  painter_.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  painter_.drawLine(from, to);
  const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
  constexpr double kHead = 9, kSpread = 0.45;
  QPainterPath head(to);
  head.lineTo(to - QPointF(kHead * std::cos(angle - kSpread), kHead * std::sin(angle - kSpread)));
  head.lineTo(to - QPointF(kHead * std::cos(angle + kSpread), kHead * std::sin(angle + kSpread)));
  head.closeSubpath();
  painter_.fillPath(head, colour);
}

void Canvas::Bus(QPointF from, QPointF to, const QString& label) {
  painter_.setPen(QPen(colour::kBus, 6, Qt::SolidLine, Qt::FlatCap));
  painter_.drawLine(from, to);
  Text(from + QPointF(4, 6), label, 9, colour::kBus, true);
}

void Canvas::Lines(QPointF at, const QStringList& lines, int size, double spacing) {
  const double step = QFontMetricsF(Font(size)).height() * spacing / 1.2;
  for (int i = 0; i < lines.size(); ++i)
    Text(at + QPointF(0, i * step), lines[i], size, colour::kNote);
}

}  // namespace edumac8::pictures
