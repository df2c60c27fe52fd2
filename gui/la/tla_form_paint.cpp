// TLAForm's drawing: everything but the overview strip into the drawing bitmap, which the
// paint copies to the window in one piece; the zoom box is drawn over the copy, so moving it
// costs no redrawing of the rows.
#include <QPainter>
#include <cmath>

#include "la/tla_form.h"

namespace edumac8 {
namespace {

const QColor kFace(0xC0, 0xC0, 0xC0);
const QColor kCursorColour(0x00, 0x00, 0xFF);
const QColor kZoomBoxColour(0xFF, 0x00, 0x00);

QColor ColourOf(Rgb rgb) { return QColor(QRgb(rgb)); }

// The outline of the pixels from (x1, y1) to (x2 - 1, y2 - 1).
void Frame(QPainter& p, int x1, int y1, int x2, int y2) {
  p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void Bevel(QPainter& p, int width, int height) {
  p.setBrush(Qt::NoBrush);
  p.setPen(Qt::black);
  Frame(p, 0, 0, width, height);
  p.setPen(Qt::white);
  Frame(p, 1, 1, width - 1, height - 1);
}

QString Hex2(std::uint8_t byte) {
  static const char kDigits[] = "0123456789ABCDEF";
  const QChar digits[2] = {QLatin1Char(kDigits[byte >> 4]), QLatin1Char(kDigits[byte & 15])};
  return QString(digits, 2);
}

// Appends to a polyline; a point that continues a horizontal run moves the run's end instead.
void Extend(QPoint* line, int& n, QPoint point) {
  if (n >= 2 && line[n - 1].y() == point.y() && line[n - 2].y() == point.y()) {
    line[n - 1] = point;
    return;
  }
  line[n++] = point;
}

}  // namespace

void TLAForm::paintEvent(QPaintEvent* /*event*/) {
  if (!drawingValid_) {
    DrawBmpPaint();
    drawingValid_ = true;
  }
  QPainter p(this);
  p.drawImage(0, 0, drawing_);
  // Around the bitmap: the gap beside VBar and the strip of ToolBar1 and HBar.
  p.fillRect(drawing_.width(), 0, width() - drawing_.width(), height(), palette().window());
  p.fillRect(0, drawing_.height(), width(), height() - drawing_.height(), palette().window());
  p.drawImage(shape1_.topLeft(), overview_);
  if (view_.Dragging() == LAView::Drag::ZoomBox) {
    p.setPen(kZoomBoxColour);
    p.setBrush(Qt::NoBrush);
    const int x1 = view_.ZoomBoxAnchorX(), y1 = view_.ZoomBoxAnchorY();
    const int x2 = view_.ZoomBoxCornerX(), y2 = view_.ZoomBoxCornerY();
    Frame(p, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
  }
}

void TLAForm::DrawBmpPaint() {
  QPainter p(&drawing_);
  p.setFont(font());
  const int w = drawing_.width(), h = drawing_.height();
  p.fillRect(drawing_.rect(), kFace);
  Bevel(p, w, h);
  p.setPen(Qt::black);
  Frame(p, view_.NameWidth - 1, 19, w - 8, view_.Rows * 10 + 21);  // the sample area
  DrawMarks(p);
  DrawTraces(p);
}

void TLAForm::DrawMarks(QPainter& p) {
  view_.PlaceCursor();
  if (view_.CursorVisible) {
    const LARect& flag = view_.CursorFlag;
    const int x = view_.CursorX + view_.NameWidth;
    p.setPen(kCursorColour);
    p.setBrush(Qt::NoBrush);
    Frame(p, flag.left, flag.top, flag.right, flag.bottom);
    p.drawLine(x, 20, x, view_.Rows * 10 + 20);
    p.drawText(flag.left + 1, flag.top + 1 + textAscent_, "Cur");
  }
  QPainter o(&overview_);
  o.fillRect(overview_.rect(), kFace);
  Bevel(o, overview_.width(), overview_.height());
  const int ox = static_cast<int>(std::lrint(double(view_.CursorSample) * shape1_.width() /
                                             LASamples::kSamplesPerChannel)) +
                 1;
  o.setPen(kCursorColour);
  o.drawLine(ox, 2, ox, 20);
}

void TLAForm::DrawTraces(QPainter& p) {
  p.setClipRect(QRect(QPoint(3, 20),
                      QPoint(view_.NameWidth + view_.Cols * 10 - 1, view_.Rows * 10 + 20 - 1)));
  LayOutRows(channels_);
  for (int k = 0; k < kLAChannelCount; ++k) {
    const TLAChannel& c = channels_[k];
    const int top = c.Top + view_.VOffset;
    const int height = c.ShowAsBus ? kLABusRowHeight : kLAExpandedRowHeight;
    if (top + height < 20 || top > view_.VisibleBottom()) continue;  // scrolled out of view
    if (c.ShowAsBus)
      DrawBusRow(p, k);
    else
      DrawBitLines(p, k);
  }
  p.setClipping(false);
}

void TLAForm::DrawBusRow(QPainter& p, int k) {
  const TLAChannel& channel = channels_[k];
  const int base = channel.Top + 20 + view_.VOffset;
  const int high = base - 14;
  const CellGeometry g = view_.Geometry();
  const int w = g.busWidth, h = (w - 8) / 2;
  const auto cells = cells_.BuildBusCells(samples_, k, view_.ViewStart, g.busSamples,
                                          cells_.CellsFor(drawing_.width(), w));
  // Two lines run along the row and swap levels at every crossing.
  QPoint* a = upper_.data();
  QPoint* b = lower_.data();
  int na = 0, nb = 0;
  int ya = high, yb = base;
  int x = view_.NameWidth;
  if (cells.size() > 1 && cells[1].kind != CellKind::NoData) {
    const bool change = cells[1].kind == CellKind::Change;
    a[na++] = {x, change ? base - 7 : high};
    b[nb++] = {x, change ? base - 7 : base};
    if (change) {
      a[na++] = {x + 4, high};
      b[nb++] = {x + 4, base};
    }
    Extend(a, na, {x + w / 2, high});
    Extend(b, nb, {x + w / 2, base});
    x += w / 2;
  }
  for (std::size_t i = 2; i < cells.size() && na > 0; ++i) {
    switch (cells[i].kind) {
      case CellKind::Steady:
        Extend(a, na, {x + w, ya});
        Extend(b, nb, {x + w, yb});
        x += w;
        break;
      case CellKind::Change:
        Extend(a, na, {x + h, ya});
        Extend(b, nb, {x + h, yb});
        a[na++] = {x + h + 8, yb};
        b[nb++] = {x + h + 8, ya};
        a[na++] = {x + w, yb};
        b[nb++] = {x + w, ya};
        std::swap(ya, yb);
        x += w;
        break;
      default:
        break;
    }
  }
  const QColor colour = ColourOf(channel.Colour);
  p.setPen(colour);
  if (na > 1) p.drawPolyline(a, na);
  if (nb > 1) p.drawPolyline(b, nb);
  ForEachBusLabel(cells, w, textWidth_, [&](int labelX, std::uint8_t value) {
    p.drawText(view_.NameWidth + labelX, base - textHeight_ + textAscent_, Hex2(value));
  });
  DrawName(
      p, base, colour,
      QString::fromStdString(channel.Name) + ": " + Hex2(samples_.LASample(k, view_.CursorSample)));
}

void TLAForm::DrawBitLines(QPainter& p, int k) {
  const TLAChannel& channel = channels_[k];
  const CellGeometry g = view_.Geometry();
  const int w = g.bitWidth, h = w / 2;
  const int count = cells_.CellsFor(drawing_.width(), w);
  const std::uint8_t atCursor = samples_.LASample(k, view_.CursorSample);
  for (int bit = 7; bit >= 0; --bit) {
    const int low = channel.Top + 20 + (7 - bit) * 20 + view_.VOffset;
    const int high = low - 14;
    if (low < 20 || high > view_.VisibleBottom()) continue;  // scrolled out of view
    const auto cells = cells_.BuildBitCells(samples_, k, bit, view_.ViewStart, g.bitSamples, count);
    QPoint* line = upper_.data();
    int n = 0;
    const bool startsHigh = cells.size() > 1 && (cells[1].kind == CellKind::High ||
                                                 cells[1].kind == CellKind::FallFrom);
    line[n++] = {view_.NameWidth, startsHigh ? high : low};
    int x = view_.NameWidth + h;
    for (std::size_t i = 2; i < cells.size(); ++i) {
      switch (cells[i].kind) {
        case CellKind::Low:
          x += w;
          Extend(line, n, {x, low});
          break;
        case CellKind::High:
          x += w;
          Extend(line, n, {x, high});
          break;
        case CellKind::RiseFrom:
          Extend(line, n, {x + h, low});
          line[n++] = {x + h, high};
          x += w;
          Extend(line, n, {x, high});
          break;
        case CellKind::FallFrom:
          Extend(line, n, {x + h, high});
          line[n++] = {x + h, low};
          x += w;
          Extend(line, n, {x, low});
          break;
        default:
          break;
      }
    }
    const QColor colour = ColourOf(channel.BitColours[bit]);
    p.setPen(colour);
    if (n > 1) p.drawPolyline(line, n);
    DrawName(
        p, low, colour,
        QString::fromStdString(channel.BitNames[bit]) + ((atCursor >> bit) & 1 ? ": 1" : ": 0"));
  }
}

void TLAForm::DrawName(QPainter& p, int baseLine, const QColor& colour, const QString& text) {
  p.save();
  p.setClipRect(QRect(10, baseLine - 14, view_.NameWidth - 1 - 10, textHeight_), Qt::IntersectClip);
  p.setPen(colour);
  p.drawText(10, baseLine - 14 + textAscent_, text);
  p.restore();
}

}  // namespace edumac8
