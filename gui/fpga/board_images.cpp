#include "fpga/board_images.h"

#include <QPainter>
#include <QPolygon>

namespace edumac8 {
namespace {

constexpr std::uint8_t kDigitSegments[16] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                             0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71};

QImage Blank(int w, int h, QColor fill) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

// A segment bar between two points along one axis, thickness t, pointed ends.
QPolygon Bar(QPoint from, QPoint to, int t) {
  const int h = t / 2;
  if (from.y() == to.y())
    return QPolygon({from,
                     {from.x() + h, from.y() - h},
                     {to.x() - h, to.y() - h},
                     to,
                     {to.x() - h, to.y() + h},
                     {from.x() + h, from.y() + h}});
  return QPolygon({from,
                   {from.x() + h, from.y() + h},
                   {to.x() + h, to.y() - h},
                   to,
                   {to.x() - h, to.y() - h},
                   {from.x() - h, from.y() + h}});
}

// The outline of segment s (0-6 = a-g, 7 = the point h) of a digit in `box`.
QPolygon SegmentShape(int s, QRect box, int t) {
  const int left = box.left() + t / 2 + 1, right = box.right() - t - 2;
  const int top = box.top() + t / 2 + 1, bottom = box.bottom() - t / 2 - 1;
  const int mid = (top + bottom) / 2;
  const int g = 1;  // the gap between neighbouring segments
  switch (s) {
    case 0:
      return Bar({left + g, top}, {right - g, top}, t);
    case 1:
      return Bar({right, top + g}, {right, mid - g}, t);
    case 2:
      return Bar({right, mid + g}, {right, bottom - g}, t);
    case 3:
      return Bar({left + g, bottom}, {right - g, bottom}, t);
    case 4:
      return Bar({left, mid + g}, {left, bottom - g}, t);
    case 5:
      return Bar({left, top + g}, {left, mid - g}, t);
    case 6:
      return Bar({left + g, mid}, {right - g, mid}, t);
    default: {
      const int x = box.right() - t + 1, y = bottom - t / 2;
      return QPolygon(QRect(x, y, t, t));
    }
  }
}

// Lights the segments in `lit` (bit i = segment i, a-h); the others are drawn dark unless
// `dark` is transparent.
void DrawDigit(QPainter& p, QRect box, int t, int lit, QColor dark) {
  p.setPen(Qt::NoPen);
  for (int s = 0; s < 8; ++s) {
    const QColor colour = (lit >> s) & 1 ? kLitSegment : dark;
    if (colour.alpha() == 0) continue;
    p.setBrush(colour);
    p.drawPolygon(SegmentShape(s, box, t));
  }
}

QImage Display(int w, int h, int digits, int digitWidth, int t, const QList<int>& lit) {
  QImage image = Blank(w, h, kDisplayGlass);
  QPainter p(&image);
  for (int i = 0; i < digits; ++i)
    DrawDigit(p, QRect(2 + i * digitWidth, 2, digitWidth - 2, h - 4), t,
              i < lit.size() ? lit[i] : 0, kDarkSegment);
  return image;
}

QImage Lamp(QColor colour, bool lit) {
  QImage image = Blank(20, 20, Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor face = lit ? colour : colour.darker(300);
  QRadialGradient shine(QPointF(7, 7), 10);
  shine.setColorAt(0, lit ? face.lighter(160) : face.lighter(130));
  shine.setColorAt(1, face);
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(shine);
  p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
  return image;
}

QImage ErrorLamp() {
  QImage image = Lamp(QColor(0x90, 0x90, 0x90), false);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xFF, 0x00, 0xFF), 2));
  p.drawLine(QPointF(6, 6), QPointF(14, 14));
  p.drawLine(QPointF(14, 6), QPointF(6, 14));
  return image;
}

QImage SmallLamp(bool lit) {
  QImage image = Blank(7, 7, Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::NoPen);
  p.setBrush(lit ? QColor(0x00, 0xE0, 0x00) : QColor(0x10, 0x40, 0x10));
  p.drawEllipse(QRect(0, 0, 6, 6));
  return image;
}

// A key cap, raised or pressed in; kinds 1-4 carry the signal they send.
QImage Key(int picture) {
  QImage image = Blank(20, 20, Qt::transparent);
  QPainter p(&image);
  const bool down = picture == 1;
  p.fillRect(QRect(1, 1, 18, 18), down ? QColor(0x90, 0x90, 0x90) : QColor(0xD8, 0xD8, 0xD8));
  p.setPen(down ? QColor(0x40, 0x40, 0x40) : Qt::white);
  p.drawLine(1, 1, 18, 1);
  p.drawLine(1, 1, 1, 18);
  p.setPen(down ? Qt::white : QColor(0x40, 0x40, 0x40));
  p.drawLine(19, 1, 19, 19);
  p.drawLine(1, 19, 19, 19);
  if (picture < 2) {
    p.setBrush(down ? QColor(0x60, 0x60, 0x60) : QColor(0xA0, 0xA0, 0xA0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(6, 6, 8, 8));
    return image;
  }
  p.setPen(QPen(Qt::black, 1));
  const int low = 15, high = 5;
  switch (picture) {
    case 2:  // rising edge
      p.drawPolyline(QPolygon({{3, low}, {10, low}, {10, high}, {17, high}}));
      p.drawLine(8, 10, 10, 8);
      p.drawLine(12, 10, 10, 8);
      break;
    case 3:  // falling edge
      p.drawPolyline(QPolygon({{3, high}, {10, high}, {10, low}, {17, low}}));
      p.drawLine(8, 10, 10, 12);
      p.drawLine(12, 10, 10, 12);
      break;
    default: {  // a clock that idles high (4) or low (5)
      const int a = picture == 4 ? high : low, b = picture == 4 ? low : high;
      p.drawPolyline(
          QPolygon({{3, a}, {6, a}, {6, b}, {10, b}, {10, a}, {14, a}, {14, b}, {17, b}}));
    }
  }
  return image;
}

QImage SegmentDiagram() {
  QImage image = Blank(120, 150, kSilver);
  QPainter p(&image);
  const QRect box(20, 10, 76, 128);
  p.fillRect(box.adjusted(-4, -4, 4, 4), kDisplayGlass);
  DrawDigit(p, box, 10, 0xFF, kDarkSegment);
  p.setPen(Qt::white);
  QFont font = p.font();
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  for (int s = 0; s < 8; ++s) {
    const QPoint c = SegmentShape(s, box, 10).boundingRect().center();
    p.drawText(QRect(c.x() - 6, c.y() - 8, 12, 16), Qt::AlignCenter, QString(QChar('a' + s)));
  }
  return image;
}

}  // namespace

std::uint8_t DigitSegments(int digit) { return kDigitSegments[digit & 15]; }

BoardImages::BoardImages() {
  const QColor colours[4] = {QColor(0xFF, 0x20, 0x20), QColor(0x20, 0xE0, 0x20),
                             QColor(0x30, 0x60, 0xFF), QColor(0xFF, 0xE0, 0x00)};
  for (int c = 0; c < 4; ++c) {
    lamps[c] = Lamp(colours[c], true);
    lamps[c + 4] = Lamp(colours[c], false);
  }
  lamps[8] = ErrorLamp();
  for (int d = 0; d < 16; ++d) {
    digits[d] = Blank(24, 33, kDisplayGlass);
    QPainter p(&digits[d]);
    DrawDigit(p, QRect(1, 1, 23, 31), 3, DigitSegments(d), kDarkSegment);
  }
  smallLampLit = SmallLamp(true);
  smallLampDark = SmallLamp(false);
  segments[0] = Blank(32, 44, kDisplayGlass);
  {
    QPainter p(&segments[0]);
    DrawDigit(p, QRect(2, 2, 29, 40), 4, 0, kDarkSegment);
  }
  for (int s = 0; s < 8; ++s) {
    segments[s + 1] = Blank(32, 44, Qt::transparent);
    QPainter p(&segments[s + 1]);
    DrawDigit(p, QRect(2, 2, 29, 40), 4, 1 << s, Qt::transparent);
  }
  for (int k = 0; k < 6; ++k) keys[k] = Key(k);
  HEXImg = Display(96, 70, 2, 46, 6, {DigitSegments(8) | 0x80, DigitSegments(8) | 0x80});
  HEX8img = Display(236, 44, 8, 29, 3, QList<int>(8, DigitSegments(8) | 0x80));
  BINImg = SegmentDiagram();
}

const BoardImages& BoardImages::Get() {
  static const BoardImages images;
  return images;
}

}  // namespace edumac8
