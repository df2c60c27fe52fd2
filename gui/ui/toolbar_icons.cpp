#include "ui/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace edumac8 {
namespace {

constexpr int kSize = 48;  // drawn large, shown at the toolbar's icon size

const QColor kInk(0x33, 0x3A, 0x45);
const QColor kBlue(0x2A, 0x6E, 0xC6);
const QColor kGreen(0x2E, 0x9D, 0x4A);
const QColor kRed(0xD2, 0x3A, 0x2E);
const QColor kAmber(0xE8, 0xA8, 0x20);

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
  QPainterPath p;
  p.moveTo(a);
  p.lineTo(b);
  p.lineTo(c);
  p.closeSubpath();
  return p;
}

void Paper(QPainter& p, QRectF r) {
  p.setPen(QPen(kInk, 2.5));
  p.setBrush(Qt::white);
  p.drawRoundedRect(r, 3, 3);
}

void Draw(QPainter& p, ToolIcon icon) {
  const QPen ink(kInk, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (icon) {
    case ToolIcon::Refresh: {
      p.setPen(QPen(kGreen, 5, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(9, 9, 30, 30), 40 * 16, 280 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawPath(Triangle({30, 4}, {42, 14}, {29, 19}));
      break;
    }
    case ToolIcon::Open: {
      p.setPen(QPen(QColor(0xA0, 0x70, 0x10), 2.5));
      p.setBrush(kAmber);
      QPainterPath folder;
      folder.moveTo(5, 12);
      folder.lineTo(18, 12);
      folder.lineTo(22, 16);
      folder.lineTo(40, 16);
      folder.lineTo(40, 39);
      folder.lineTo(5, 39);
      folder.closeSubpath();
      p.drawPath(folder);
      p.setBrush(QColor(0xF6, 0xCB, 0x5A));
      p.drawPath(
          Triangle({5, 39}, {12, 22}, {45, 22}).united(Triangle({5, 39}, {45, 22}, {38, 39})));
      break;
    }
    case ToolIcon::Save: {
      p.setPen(QPen(QColor(0x1C, 0x4A, 0x8A), 2.5));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(7, 7, 34, 34), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(13, 7, 20, 12));
      p.setBrush(QColor(0xDD, 0xE6, 0xF2));
      p.drawRect(QRectF(12, 26, 24, 15));
      break;
    }
    case ToolIcon::Make: {
      Paper(p, QRectF(8, 4, 26, 34));
      p.setPen(QPen(kInk, 2.5));
      for (int y : {12, 18, 24}) p.drawLine(QPointF(13, y), QPointF(29, y));
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawEllipse(QRectF(24, 24, 20, 20));
      p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(29, 34), QPointF(33, 38), QPointF(39, 30)}));
      break;
    }
    case ToolIcon::Cut: {
      p.setPen(ink);
      p.drawLine(QPointF(14, 6), QPointF(32, 30));
      p.drawLine(QPointF(34, 6), QPointF(16, 30));
      p.setPen(QPen(kRed, 3.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(6, 29, 12, 12));
      p.drawEllipse(QRectF(30, 29, 12, 12));
      break;
    }
    case ToolIcon::Copy: {
      Paper(p, QRectF(6, 5, 24, 29));
      Paper(p, QRectF(17, 14, 24, 29));
      p.setPen(QPen(kBlue, 2.5));
      for (int y : {22, 28, 34}) p.drawLine(QPointF(22, y), QPointF(36, y));
      break;
    }
    case ToolIcon::Paste: {
      p.setPen(QPen(QColor(0x7A, 0x52, 0x20), 2.5));
      p.setBrush(QColor(0xC8, 0x92, 0x4A));
      p.drawRoundedRect(QRectF(7, 8, 28, 34), 3, 3);
      p.setBrush(kInk);
      p.drawRoundedRect(QRectF(14, 4, 14, 8), 2, 2);
      Paper(p, QRectF(20, 18, 22, 26));
      break;
    }
    case ToolIcon::Reset: {
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawRect(QRectF(9, 10, 6, 28));
      p.drawPath(Triangle({40, 10}, {40, 38}, {17, 24}));
      break;
    }
    case ToolIcon::Pause: {
      p.setPen(Qt::NoPen);
      p.setBrush(kAmber.darker(110));
      p.drawRoundedRect(QRectF(11, 9, 9, 30), 2, 2);
      p.drawRoundedRect(QRectF(28, 9, 9, 30), 2, 2);
      break;
    }
    case ToolIcon::Run: {
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawPath(Triangle({12, 7}, {12, 41}, {41, 24}));
      break;
    }
    case ToolIcon::Trace: {
      p.setPen(QPen(kInk, 2.5, Qt::DotLine));
      p.drawLine(QPointF(6, 38), QPointF(42, 38));
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawPath(Triangle({10, 10}, {10, 32}, {26, 21}));
      QFont f("DejaVu Sans");
      f.setPixelSize(22);
      f.setBold(true);
      p.setFont(f);
      p.setPen(kInk);
      p.drawText(QRectF(24, 4, 22, 30), Qt::AlignCenter, QString::fromUtf8("μ"));
      break;
    }
    case ToolIcon::Step: {
      p.setPen(QPen(kBlue, 4.5, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(8, 10, 30, 30), 0, 180 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawPath(Triangle({31, 24}, {45, 24}, {38, 34}));
      p.setBrush(kInk);
      p.drawEllipse(QRectF(18, 33, 10, 10));
      break;
    }
    case ToolIcon::Vhdl: {
      p.setPen(QPen(kInk, 2.5));
      for (int i = 0; i < 4; ++i) {
        const qreal y = 13 + i * 7.5;
        p.drawLine(QPointF(4, y), QPointF(10, y));
        p.drawLine(QPointF(38, y), QPointF(44, y));
      }
      p.setBrush(QColor(0x44, 0x4C, 0x58));
      p.drawRoundedRect(QRectF(10, 8, 28, 32), 3, 3);
      QFont f("DejaVu Sans");
      f.setPixelSize(15);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(10, 8, 28, 32), Qt::AlignCenter, "V");
      break;
    }
    case ToolIcon::Interrupt: {
      p.setPen(QPen(QColor(0xA8, 0x20, 0x10), 2));
      p.setBrush(kRed);
      QPainterPath bolt;
      bolt.moveTo(28, 3);
      bolt.lineTo(11, 27);
      bolt.lineTo(23, 27);
      bolt.lineTo(18, 45);
      bolt.lineTo(37, 19);
      bolt.lineTo(25, 19);
      bolt.closeSubpath();
      p.drawPath(bolt);
      break;
    }
    case ToolIcon::Buses: {
      const QColor colours[] = {kRed, kGreen, kBlue};
      for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colours[i], 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 12 + i * 12), QPointF(41, 12 + i * 12));
      }
      break;
    }
    case ToolIcon::Animate: {
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(6, 18, 12, 12));
      p.setBrush(kBlue.lighter(140));
      p.drawEllipse(QRectF(20, 18, 12, 12));
      p.setBrush(kBlue.lighter(180));
      p.drawEllipse(QRectF(34, 18, 10, 12));
      break;
    }
    case ToolIcon::Fpga: {
      p.setPen(QPen(QColor(0x1E, 0x5E, 0x2E), 2.5));
      p.setBrush(QColor(0x3C, 0x8D, 0x4E));
      p.drawRoundedRect(QRectF(4, 8, 40, 32), 3, 3);
      p.setBrush(QColor(0x22, 0x26, 0x2C));
      p.drawRect(QRectF(16, 15, 16, 16));
      p.setPen(Qt::NoPen);
      p.setBrush(kAmber);
      for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(8 + i * 12, 34, 4, 4));
      break;
    }
  }
}

}  // namespace

QIcon ToolbarIcon(ToolIcon icon) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, icon);
  }
  return QIcon(pm);
}

}  // namespace edumac8
